#include "data/AppError.h"
#include "data/MemoryListBox.h"
#include "engine/CApp.h"
#include "support/FakeDesktop.h"
#include "support/Raised.h"
#include "support/TempDataDir.h"

#include <QTemporaryDir>
#include <QTest>

using namespace AppErrorNumber;

class TestCApp : public QObject
{
    Q_OBJECT

private:
    // A record whose length word claims more than its slot holds.
    static constexpr char kDamaged[] = "(damaged)";
    void writeApps(const QList<QByteArray> &records)
    {
        QByteArray bytes;
        for (const QByteArray &record : records)
            bytes += record == kDamaged ? QByteArray::fromHex("ffff") + QByteArray(268, 'x')
                                        : RecordFileBytes::slot(record, 270);
        RecordFileBytes::write(m_dir->appFile(), bytes);
    }

    std::unique_ptr<TempDataDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    MemoryListBox m_list;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<TempDataDir>();
        m_desktop = std::make_unique<FakeDesktop>();
        m_list.clear();
    }

    void fillList_data()
    {
        QTest::addColumn<QList<QByteArray>>("file");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("error");
        using L = QList<QByteArray>;
        QTest::newRow("missing file") << L{} << QStringList{} << 0;
        QTest::newRow("in record order")
            << L{"B \xA6 b*", "A \xA6 a*n~V$p"} << QStringList{"B ¦ b", "A ¦ a"} << 0;
        QTest::newRow("stops at the first empty name")
            << L{"A*", "*orphan~V$p", "C*"} << QStringList{"A"} << 0;
        // So that positions still match records.
        QTest::newRow("stops at a damaged record")
            << L{"A*", "B*", kDamaged, "D*"} << QStringList{"A", "B"} << FileCorrupt;
    }

    void fillList()
    {
        QFETCH(QList<QByteArray>, file);
        QFETCH(QStringList, listed);
        QFETCH(int, error);
        if (!file.isEmpty())
            writeApps(file);
        CApp app(m_dir->path(), m_desktop->services(), &m_list);
        app.FillVACListBox();
        QCOMPARE(m_list.items(), listed);
        QCOMPARE(app.lastError() ? app.lastError()->number() : 0, error);
    }

    // A new entry goes into the first empty record, a whole record is stored unchanged; the
    // fields of an entry are read and rewritten by list position.
    void addAndComplete()
    {
        writeApps({"A*", "", "C*"});
        CApp app(m_dir->path(), m_desktop->services());
        app.VAppAdd("XTerm ¦ shell");
        app.VAppAdd("D*d~V$p", 0, true);
        QCOMPARE(m_dir->apps(), QList<QByteArray>({"A*", "XTerm \xA6 shell*", "C*", "D*d~V$p"}));
        QCOMPARE(app.AppRecordCount(), qint16(5));

        // Fields left from an earlier entry: a record without them must empty them.
        app.setUserName("stale");
        app.setVocabularyName("stale");
        app.setPathName("stale");
        QCOMPARE(app.UserDefinedName(1), QString());
        QCOMPARE(app.VocabularyName(), QString());
        QCOMPARE(app.PathName(), QString());

        app.AddUserAppName("notes", "Writing", "gedit ~/notes.txt", 3);
        QCOMPARE(m_dir->apps(), QList<QByteArray>({"A*", "XTerm \xA6 shell*", "C*",
                                                   "D*notes~Writing$gedit ~/notes.txt"}));
        QCOMPARE(app.UserDefinedName(3), QString("notes"));
        QCOMPARE(app.VocabularyName(), QString("Writing"));
        QCOMPARE(app.PathName(), QString("gedit ~/notes.txt"));
    }

    // Which record a delete leaves out is checked on many more inputs by the apprecord fuzz
    // replay; these rows are what it does not meet: no match, and names equal but for case.
    void compare_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("hint");
        QTest::addColumn<QStringList>("kept");
        using S = QStringList;
        QTest::newRow("no match keeps all")
            << "Nothing" << 0 << S{"Foo*", "Foo Bar*foo~V$Foo", "foo*", "Foo*second"};
        QTest::newRow("case counts") << "foo" << 0 << S{"Foo*", "Foo Bar*foo~V$Foo", "Foo*second"};
        QTest::newRow("the hinted one of two")
            << "Foo" << 4 << S{"Foo*", "Foo Bar*foo~V$Foo", "foo*"};
    }

    void compare()
    {
        QFETCH(QString, search);
        QFETCH(int, hint);
        QFETCH(QStringList, kept);
        writeApps({"Foo*", "Foo Bar*foo~V$Foo", "foo*", "Foo*second"});
        CApp app(m_dir->path(), m_desktop->services());
        app.AppCompare(search, qint16(hint));
        QStringList stored;
        for (qint16 i = 1; i <= app.VAppTempCount(); ++i)
            stored.append(app.VAppTempRetrieve(i));
        QCOMPARE(stored, kept);
        QCOMPARE(raised([&] { app.VAppTempRetrieve(qint16(kept.size() + 1)); }).number(),
                 SubscriptOutOfRange);
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
        const QByteArray before = RecordFileBytes::read(m_dir->appFile());
        for (const QString &entry : list)
            m_list.addItem(entry);
        m_list.setSelectedIndex(selected);
        CApp app(m_dir->path(), m_desktop->services(), &m_list);
        app.DelRunApp();
        QCOMPARE(m_desktop->prompter.shown().size(), 1);
        QCOMPARE(m_desktop->prompter.shown().first().text, text);
        QCOMPARE(m_desktop->prompter.shown().first().title, title);
        QCOMPARE(m_list.items(), list);
        QCOMPARE(RecordFileBytes::read(m_dir->appFile()), before);
    }

    void createNewFile()
    {
        CApp app(m_dir->path(), m_desktop->services());
        QCOMPARE(raised([&] { app.CreateNewFile(false, "VAppCmd"); }).number(), FileNotFound);
        writeApps({"A*"});
        app.CreateNewFile(false, "VAppCmd");
        QVERIFY(QFile::exists(m_dir->appFile()));
        QCOMPARE(RecordFileBytes::read(m_dir->appFile()), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestCApp)
#include "tst_capp.moc"
