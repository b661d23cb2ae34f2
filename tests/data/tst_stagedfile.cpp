#include "data/CFile.h"
#include "data/DataDirectory.h"
#include "data/StagedFile.h"
#include "support/RecordFileBytes.h"

#include <QTemporaryDir>
#include <QTest>

// Staged copies that interrupted rewrites left behind are removed at start and by the next
// rewrite of their file; files that only look alike, and copies that a running rewrite holds,
// stay.
class TestStagedFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removedAtStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        QTest::newRow("application list") << ".VAppCmd.txt.a1B2c3.new" << true;
        QTest::newRow("grammar") << ".temp.txt.zzzzzz.new" << true;
        QTest::newRow("vocabulary") << "vocab/.Editing.txt.abcdef.new" << true;
        QTest::newRow("vocabulary with a dot") << "vocab/.Office.old.txt.abcdef.new" << true;
        QTest::newRow("other file") << ".notes.txt.abcdef.new" << false;
        QTest::newRow("no unique part") << ".VAppCmd.txt.new" << false;
        QTest::newRow("longer unique part") << ".VAppCmd.txt.abcdefg.new" << false;
        QTest::newRow("not hidden") << "VAppCmd.txt.abcdef.new" << false;
        QTest::newRow("no vocabulary") << "vocab/.Editing.dat.abcdef.new" << false;
        QTest::newRow("vocabulary in the data folder") << ".Editing.txt.abcdef.new" << false;
        QTest::newRow("hidden file") << "vocab/.hidden" << false;
    }

    void removedAtStart()
    {
        QFETCH(QString, name);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        RecordFileBytes::write(dir.filePath(name), "left over");
        QVERIFY(DataDirectory::prepare(dir.path(), nullptr));
        QCOMPARE(QFile::exists(dir.filePath(name)), !removed);
    }

    void heldCopyStays()
    {
        QTemporaryDir dir;
        QVERIFY(DataDirectory::prepare(dir.path(), nullptr));
        const QString list = dir.filePath("VAppCmd.txt");
        const QString leftover = dir.filePath(".VAppCmd.txt.Xy12Zw.new");
        RecordFileBytes::write(leftover, "left over");
        const StagedFile held(list);
        QVERIFY(held.isOpen());

        CFile(dir.path()).replaceAll(false, "VAppCmd", {"A*a~V$a"});
        QVERIFY2(!QFile::exists(leftover), "a rewrite left an abandoned copy of its file");
        QVERIFY2(QFile::exists(held.fileName()), "a rewrite took a copy that is held");
        QVERIFY(DataDirectory::prepare(dir.path(), nullptr));
        QVERIFY2(QFile::exists(held.fileName()), "a start took a copy that is held");
        QCOMPARE(RecordFileBytes::records(RecordFileBytes::read(list), 270),
                 QList<QByteArray>{"A*a~V$a"});
    }
};

QTEST_GUILESS_MAIN(TestStagedFile)
#include "tst_stagedfile.moc"
