#include "engine/ApplicationList.h"
#include "support/TempDataDir.h"

#include <QTemporaryDir>
#include <QTest>

using L = QList<QByteArray>;

// The rules of editing the application list, on a real VAppCmd.txt.
class TestApplicationList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempDataDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<TempDataDir>(); }

    // args: the entry to add, or the position, spoken name, vocabulary and path to save. An
    // empty message means done; a refused or failed edit leaves the file as it was.
    void edits_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::addColumn<L>("after");
        const L before{"XTerm \xA6 shell*term~V$xterm", "", "C \xA6 c*"};
        QTest::newRow("add fills the first free record")
            << QStringList{"Gedit ¦ notes"} << "" << L{before[0], "Gedit \xA6 notes*", before[2]};
        QTest::newRow("add: duplicate, case ignored")
            << QStringList{"xterm ¦ SHELL"} << "You Already Have An Entry With This Name!"
            << before;
        QTest::newRow("add: empty entry") << QStringList{""} << "cannot be empty" << before;
        QTest::newRow("add: star in the name")
            << QStringList{"Gedit ¦ *notes"} << "cannot contain \"*\"" << before;
        QTest::newRow("save keeps the name")
            << QStringList{"0", "shell", "Editing", "/usr/bin/xterm -e sh"} << ""
            << L{"XTerm \xA6 shell*shell~Editing$/usr/bin/xterm -e sh", "", before[2]};
        QTest::newRow("save: no such position")
            << QStringList{"1", "a", "V", "p"} << "There is no application at position 1."
            << before;
        QTest::newRow("save: tilde in a spoken name")
            << QStringList{"0", "a~b", "V", "p"} << "cannot contain \"~\"" << before;
        QTest::newRow("save: dollar in a spoken name")
            << QStringList{"0", "a$b", "V", "p"} << "cannot contain \"$\"" << before;
        QTest::newRow("save: dollar in a vocabulary")
            << QStringList{"0", "a", "V$", "p"} << "A vocabulary name cannot contain" << before;
        QTest::newRow("save: record too long")
            << QStringList{"0", "n", "V", QString(260, 'p')} << "13012" << before;
    }

    void edits()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QFETCH(L, after);
        m_dir->writeApps({"XTerm \xA6 shell*term~V$xterm", "", "C \xA6 c*"});
        ApplicationList list(m_dir->path());
        const EditResult result =
            args.size() == 1 ? list.add(args.at(0))
                             : list.save(args.at(0).toInt(), args.at(1), args.at(2), args.at(3));
        QCOMPARE(result.isDone(), message.isEmpty());
        QVERIFY2(result.text.contains(message), qPrintable(result.text));
        QCOMPARE(m_dir->apps(), after);
    }

    void checkComplete_data()
    {
        QTest::addColumn<L>("file");
        QTest::addColumn<int>("incomplete");
        QTest::newRow("empty list") << L{} << -1;
        QTest::newRow("all complete, path empty") << L{"A*a~V$", "B*b~W$p"} << -1;
        QTest::newRow("no vocabulary") << L{"A*a~V$p", "B*b~$p", "C*~$"} << 1;
        QTest::newRow("just added") << L{"A*a~V$p", "B*"} << 1;
    }

    // Closing the application window needs a spoken name and a vocabulary for every entry.
    void checkComplete()
    {
        QFETCH(L, file);
        QFETCH(int, incomplete);
        m_dir->writeApps(file);
        const EditResult result = ApplicationList(m_dir->path()).checkComplete();
        QCOMPARE(result.position, incomplete);
        QCOMPARE(result.isDone(), incomplete < 0);
        if (incomplete >= 0) {
            QCOMPARE(result.title, QString("Insufficient Control Parameters"));
            QCOMPARE(result.icon, Prompter::Icon::Information);
            QVERIFY(result.text.startsWith("You must supply both a user-defined name"));
        }
    }
};

QTEST_GUILESS_MAIN(TestApplicationList)
#include "tst_applicationlist.moc"
