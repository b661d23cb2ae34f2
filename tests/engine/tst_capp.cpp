#include "data/AppError.h"
#include "data/MemoryListBox.h"
#include "engine/CApp.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QTemporaryDir>
#include <QTest>

class TestCApp : public QObject
{
    Q_OBJECT

private:
    QString appFile() const { return m_dir->path() + "/VAppCmd.txt"; }
    void writeApps(const QList<QByteArray> &records)
    {
        RecordFileBytes::write(appFile(), RecordFileBytes::file(records, 270));
    }
    QList<QByteArray> records() const
    {
        return RecordFileBytes::records(RecordFileBytes::read(appFile()), 270);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    MemoryListBox m_list;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_desktop = std::make_unique<FakeDesktop>();
        m_list.clear();
    }

    void fillList_data()
    {
        QTest::addColumn<QList<QByteArray>>("file");
        QTest::addColumn<QStringList>("listed");
        using L = QList<QByteArray>;
        QTest::newRow("missing file") << L{} << QStringList{};
        QTest::newRow("in record order")
            << L{"B \xA6 b*", "A \xA6 a*n~V$p"} << QStringList{"B ¦ b", "A ¦ a"};
        QTest::newRow("stops at the first empty name")
            << L{"A*", "*orphan~V$p", "C*"} << QStringList{"A"};
        QTest::newRow("stops at an empty record") << L{"A*", "", "C*"} << QStringList{"A"};
    }

    void fillList()
    {
        QFETCH(QList<QByteArray>, file);
        QFETCH(QStringList, listed);
        if (!file.isEmpty())
            writeApps(file);
        CApp app(m_dir->path(), m_desktop->services(), &m_list);
        app.FillVACListBox();
        QCOMPARE(m_list.items(), listed);
        QVERIFY(!app.lastError());
    }

    // A damaged record ends the list where it is, so positions still match records.
    void fillListStopsAtADamagedRecord()
    {
        QByteArray bytes = RecordFileBytes::file({"A*", "B*"}, 270);
        bytes += QByteArray::fromHex("ffff") + QByteArray(268, 'x');
        bytes += RecordFileBytes::slot("D*", 270);
        RecordFileBytes::write(appFile(), bytes);
        CApp app(m_dir->path(), m_desktop->services(), &m_list);
        app.FillVACListBox();
        QCOMPARE(m_list.items(), QStringList({"A", "B"}));
        QVERIFY(app.lastError());
        QCOMPARE(app.lastError()->number(), AppErrorNumber::FileCorrupt);
    }

    void addAndComplete()
    {
        CApp app(m_dir->path(), m_desktop->services(), &m_list);
        app.VAppAdd("XTerm ¦ shell");
        app.VAppAdd("Gedit ¦ notes", 0, false);
        QCOMPARE(app.AppRecordCount(), qint16(3));
        QCOMPARE(records(), QList<QByteArray>({"XTerm \xA6 shell*", "Gedit \xA6 notes*"}));

        // Fields left from an earlier entry: a record without them must empty them.
        app.setUserName("stale");
        app.setVocabularyName("stale");
        app.setPathName("stale");
        QCOMPARE(app.UserDefinedName(1), QString());
        QCOMPARE(app.VocabularyName(), QString());
        QCOMPARE(app.PathName(), QString());

        app.AddUserAppName("editor", "Editing", "/usr/bin/gedit", 1);
        app.AddUserAppName("notes", "Writing", "gedit ~/notes.txt", 1);
        QCOMPARE(records().at(1), QByteArray("Gedit \xA6 notes*notes~Writing$gedit ~/notes.txt"));
        QCOMPARE(records().at(0), QByteArray("XTerm \xA6 shell*"));
        QCOMPARE(app.UserDefinedName(1), QString("notes"));
        QCOMPARE(app.VocabularyName(), QString("Writing"));
        QCOMPARE(app.PathName(), QString("gedit ~/notes.txt"));
    }

    // A new entry goes into the first empty record, a whole record is stored unchanged.
    void addFillsTheFirstFreeRecord()
    {
        writeApps({"A*", "", "C*"});
        CApp app(m_dir->path(), m_desktop->services());
        app.VAppAdd("B*b~V$p", 0, true);
        QCOMPARE(records(), QList<QByteArray>({"A*", "B*b~V$p", "C*"}));
    }

    void compare_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("hint");
        QTest::addColumn<QList<QByteArray>>("kept");
        using L = QList<QByteArray>;
        const L file{"Foo*", "Foo Bar*foo~V$Foo", "foo*", "Foo*second"};
        QTest::newRow("no match keeps all") << "Nothing" << 0 << file;
        QTest::newRow("exact name only") << "Foo Bar" << 0 << L{"Foo*", "foo*", "Foo*second"};
        QTest::newRow("case counts") << "foo" << 0 << L{"Foo*", "Foo Bar*foo~V$Foo", "Foo*second"};
        QTest::newRow("first of two equal names")
            << "Foo" << 0 << L{"Foo Bar*foo~V$Foo", "foo*", "Foo*second"};
        QTest::newRow("the hinted one of two")
            << "Foo" << 4 << L{"Foo*", "Foo Bar*foo~V$Foo", "foo*"};
        QTest::newRow("a wrong hint falls back")
            << "Foo" << 2 << L{"Foo Bar*foo~V$Foo", "foo*", "Foo*second"};
    }

    void compare()
    {
        QFETCH(QString, search);
        QFETCH(int, hint);
        QFETCH(QList<QByteArray>, kept);
        writeApps({"Foo*", "Foo Bar*foo~V$Foo", "foo*", "Foo*second"});
        CApp app(m_dir->path(), m_desktop->services());
        app.AppCompare(search, qint16(hint));
        QStringList stored;
        for (qint16 i = 1; i <= app.VAppTempCount(); ++i)
            stored.append(app.VAppTempRetrieve(i));
        QStringList expected;
        for (const QByteArray &k : kept)
            expected.append(QString::fromLatin1(k));
        QCOMPARE(stored, expected);
    }

    void tempStore()
    {
        CApp app(m_dir->path(), m_desktop->services());
        app.VAppTempStore("a");
        QCOMPARE(app.VAppTempRetrieve(1), QString("a"));
        app.VAppTempClear();
        try {
            app.VAppTempRetrieve(1);
            QFAIL("retrieved from an empty store");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), AppErrorNumber::SubscriptOutOfRange);
        }
    }

    void deleteSecondOfThree()
    {
        writeApps({"A*a~V$1", "B*b~V$2", "C*c~V$3"});
        CApp app(m_dir->path(), m_desktop->services(), &m_list);
        app.FillVACListBox();
        m_list.setSelectedIndex(1);
        app.DelRunApp();
        QCOMPARE(m_desktop->prompter.shown().size(), 0);
        QCOMPARE(m_list.items(), QStringList({"A", "C"}));
        QCOMPARE(records(), QList<QByteArray>({"A*a~V$1", "C*c~V$3"}));
        QCOMPARE(RecordFileBytes::read(appFile()).size(), 2 * 270);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"VAppCmd.txt"}));
    }

    void deleteRefusals_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("nothing selected")
            << -1 << QStringList{"A", "B"}
            << "You must first select a voice-controlled application to delete."
            << "No File Selected.";
        QTest::newRow("list out of step with the file")
            << 0 << QStringList{"X", "B"}
            << "13011 File Corrupt:  Please Shut Down The Application And Create A New File. "
               "(the application list does not match VAppCmd.txt)"
            << "ERROR DELETE VOICE APPLIATION";
    }

    // A refused delete changes neither the list nor the file.
    void deleteRefusals()
    {
        QFETCH(int, selected);
        QFETCH(QStringList, list);
        QFETCH(QString, text);
        QFETCH(QString, title);
        writeApps({"A*a~V$1", "B*b~V$2"});
        const QByteArray before = RecordFileBytes::read(appFile());
        for (const QString &entry : list)
            m_list.addItem(entry);
        m_list.setSelectedIndex(selected);
        CApp app(m_dir->path(), m_desktop->services(), &m_list);
        app.DelRunApp();
        QCOMPARE(m_desktop->prompter.shown().size(), 1);
        QCOMPARE(m_desktop->prompter.shown().first().text, text);
        QCOMPARE(m_desktop->prompter.shown().first().title, title);
        QCOMPARE(m_list.items(), list);
        QCOMPARE(RecordFileBytes::read(appFile()), before);
    }

    void createNewFile()
    {
        CApp app(m_dir->path(), m_desktop->services());
        try {
            app.CreateNewFile(false, "VAppCmd");
            QFAIL("emptied a file that does not exist");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), AppErrorNumber::FileNotFound);
        }
        writeApps({"A*"});
        app.CreateNewFile(false, "VAppCmd");
        QVERIFY(QFile::exists(appFile()));
        QCOMPARE(RecordFileBytes::read(appFile()), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestCApp)
#include "tst_capp.moc"
