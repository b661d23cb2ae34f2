#include "data/AppError.h"
#include "data/CVocab.h"
#include "data/MemoryListBox.h"
#include "support/Raised.h"
#include "support/TempDataDir.h"

#include <QTemporaryDir>
#include <QTest>

using namespace AppErrorNumber;

class TestCVocab : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempDataDir> m_dir;
    MemoryListBox m_lstVocab;
    MemoryListBox m_lstDictionary;
    MemoryListBox m_cmbVocabulary;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<TempDataDir>();
        m_lstVocab.clear();
        m_lstDictionary.clear();
        m_cmbVocabulary.clear();
    }

    // The cursor stops on the first word equal to the one sought; case and blanks count.
    void select()
    {
        m_dir->writeVocab("V", {"one:1", "two:2", "three:3"});
        CVocab vocab(m_dir->path());
        vocab.DictionarySelect("V", "two:2");
        QCOMPARE(vocab.TrackDictionary(), qint16(2));
        QCOMPARE(vocab.RecordNumber(), qint16(2));
        vocab.DictionarySelect("V", "one:1 ");
        vocab.DictionarySelect("V", "ONE:1");
        QCOMPARE(vocab.TrackDictionary(), qint16(2)); // nothing found
        QCOMPARE(vocab.RecordNumber(), qint16(4));
    }

    void routines_data()
    {
        QTest::addColumn<QString>("routine");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::addColumn<int>("cursorAfter");
        using L = QList<QByteArray>;
        QTest::newRow("SaveChanges at the cursor") << "SaveChanges" << 2 << L{"a", "new", "c"} << 2;
        QTest::newRow("SaveChanges past the end")
            << "SaveChanges" << 4 << L{"a", "b", "c", "new"} << 4;
        QTest::newRow("MenuCopy before the cursor") << "MenuCopy" << 4 << L{"a", "b", "new"} << 4;
        QTest::newRow("DictionaryDelete advances")
            << "DictionaryDelete" << 1 << L{"new", "b", "c"} << 2;
        QTest::newRow("unknown routine stores nothing")
            << "savechanges" << 1 << L{"a", "b", "c"} << 1;
    }

    void routines()
    {
        QFETCH(QString, routine);
        QFETCH(int, cursor);
        QFETCH(QList<QByteArray>, expected);
        QFETCH(int, cursorAfter);
        m_dir->writeVocab("V", {"a", "b", "c"});
        CVocab vocab(m_dir->path());
        for (int i = 1; i < cursor; ++i)
            vocab.CopyDictionary("ignored"); // CopyDictionary moves the cursor on by one
        vocab.AddDictionaryWord(true, "V", "new", routine);
        QCOMPARE(m_dir->words("V"), expected);
        QCOMPARE(vocab.RecordNumber(), qint16(cursorAfter));
    }

    // Only visible ordinary *.txt files are vocabularies; a name stops at its first ".".
    void listing()
    {
        m_dir->writeVocab("Office.old", {});
        m_dir->writeVocab("browsing", {});
        m_dir->writeVocab("Editing", {});
        m_dir->writeVocab(".hidden", {});
        QDir(m_dir->path()).mkpath("vocab/Folder.txt");
        RecordFileBytes::write(m_dir->path() + "/vocab/notes.md", "x");
        m_cmbVocabulary.addItem("kept");
        CVocab vocab(m_dir->path(), {&m_lstVocab, &m_lstDictionary, &m_cmbVocabulary});
        vocab.FillVocabFile();
        QCOMPARE(m_lstVocab.items(), QStringList({"browsing", "Editing", "Office"}));
        QCOMPARE(m_cmbVocabulary.items(), QStringList({"kept", "browsing", "Editing", "Office"}));
        vocab.FillVocabFile(true);
        QCOMPARE(m_lstVocab.count(), 6);
        QCOMPARE(m_cmbVocabulary.count(), 4);

        // Opening the listed name opens (and so creates) Office.txt, not Office.old.txt.
        vocab.FillDictionaryListBox(true, "Office");
        QVERIFY(QFile::exists(m_dir->vocabFile("Office")));
    }

    void copyList()
    {
        CVocab vocab(m_dir->path(), {nullptr, &m_lstDictionary, nullptr});
        QCOMPARE(raised([&] { vocab.RetrieveDictionary(1); }).number(), NoDictionarySelection);
        m_lstDictionary.addItem("a:1");
        m_lstDictionary.addItem("b:2");
        vocab.CopyAll();
        QCOMPARE(vocab.RecordNumber(), qint16(3));
        QCOMPARE(vocab.RetrieveDictionary(2), QString("b:2"));
        QCOMPARE(vocab.RecordNumber(), qint16(4));
        QCOMPARE(raised([&] { vocab.RetrieveDictionary(3); }).number(), NoDictionarySelection);
        QCOMPARE(vocab.RecordNumber(), qint16(4));
        vocab.DictionaryInitialize();
        QCOMPARE(raised([&] { vocab.RetrieveDictionary(1); }).number(), NoDictionarySelection);
    }

    // Without a vocab directory a new vocabulary is error 13013 and nothing is listed.
    void missingVocabDirectory()
    {
        QDir(m_dir->path()).rmdir("vocab");
        RecordFileBytes::write(m_dir->path() + "/vocab", "not a directory");
        CVocab vocab(m_dir->path(), {&m_lstVocab, &m_lstDictionary, &m_cmbVocabulary});
        QCOMPARE(raised([&] { vocab.CreateNewVocab("New"); }).number(), NoVocabDirectory);
        vocab.FillVocabFile();
        QCOMPARE(m_lstVocab.count(), 0);
        QVERIFY(raised([&] { vocab.AddDictionaryWord(true, "New", "w", "SaveChanges"); }).number());
    }
};

QTEST_GUILESS_MAIN(TestCVocab)
#include "tst_cvocab.moc"
