#include "data/CFile.h"
#include "data/FileChannels.h"
#include "data/MemoryListBox.h"
#include "support/TempDataDir.h"

#include <QTemporaryDir>
#include <QTest>

class TestGrammar : public QObject
{
    Q_OBJECT

private:
    QByteArray grammar() const { return RecordFileBytes::read(m_dir->path() + "/temp.txt"); }
    static QByteArray lines(const QList<QByteArray> &phrases)
    {
        QByteArray text = "[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n"
                          "<start>=switch to\r\n";
        for (const QByteArray &p : phrases)
            text += "<start>=" + p + "\r\n";
        return text;
    }

    std::unique_ptr<TempDataDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<TempDataDir>(); }

    void phrases_data()
    {
        QTest::addColumn<QList<QByteArray>>("apps");
        QTest::addColumn<QList<QByteArray>>("first");
        QTest::addColumn<QList<QByteArray>>("second");
        QTest::addColumn<QList<QByteArray>>("expected");
        using L = QList<QByteArray>;
        QTest::newRow("entries without a spoken name")
            << L{"A \xA6 a*", "B \xA6 b*name without tilde", "C \xA6 c*~V$p"} << L{} << L{} << L{};
        QTest::newRow("a record without star still names")
            << L{"plain~V$p", "none$p"} << L{} << L{} << L{"plain"};
        QTest::newRow("same spoken name twice")
            << L{"A*edit~V$a", "B*edit~V$b"} << L{} << L{} << L{"edit", "edit"};
        QTest::newRow("spoken name equal to a phrase")
            << L{"A*refresh~V$a"} << L{"refresh:{F5}"} << L{} << L{"refresh", "refresh"};
        QTest::newRow("record without colon and empty record")
            << L{} << L{"plain phrase", "", "x:y"} << L{"", "z:w"}
            << L{"plain phrase", "", "x", "z"};
        QTest::newRow("first occurrence and first spelling win")
            << L{} << L{"Go Back:%{LEFT}", "close:^w"} << L{"reload:{F5}", "go back:x", "CLOSE:y"}
            << L{"Go Back", "close", "reload"};
        QTest::newRow("blanks kept, colons in keys")
            << L{} << L{" spaced :^a", "colon:a:b"} << L{} << L{" spaced ", "colon"};
        QTest::newRow("code page characters")
            << L{"A*caf\xE9~V$a"} << L{"na\xEFve:n"} << L{} << L{"caf\xE9", "na\xEFve"};
    }

    void phrases()
    {
        QFETCH(QList<QByteArray>, apps);
        QFETCH(QList<QByteArray>, first);
        QFETCH(QList<QByteArray>, second);
        QFETCH(QList<QByteArray>, expected);
        m_dir->writeApps(apps);
        // Listed out of alphabetical order: the list's order counts.
        m_dir->writeVocab("Z", first);
        m_dir->writeVocab("A", second);
        // Written twice: the second grammar replaces the first.
        for (int run = 0; run < 2; ++run) {
            QVERIFY(CFile(m_dir->path()).TempLoad(MemoryListBox({"Z", "A"})));
            QCOMPARE(grammar(), lines(expected));
        }
    }

    // A listed vocabulary without a file, a damaged word and a damaged application record
    // contribute nothing; everything else is still written.
    void damagedSourcesAreSkipped()
    {
        QByteArray apps = RecordFileBytes::file({"A*one~V$a"}, 270);
        apps += QByteArray::fromHex("ff00") + QByteArray(268, 'x'); // length word too large
        apps += RecordFileBytes::slot("C*three~V$c", 270);
        RecordFileBytes::write(m_dir->appFile(), apps);
        QByteArray words = RecordFileBytes::slot("good:g", 128);
        words += QByteArray::fromHex("9000") + QByteArray(126, 'x');
        words += RecordFileBytes::slot("also good:a", 128);
        RecordFileBytes::write(m_dir->vocabFile("W"), words);

        QVERIFY(CFile(m_dir->path()).TempLoad(MemoryListBox({"Missing", "W", "no/such"})));
        QCOMPARE(grammar(), lines({"one", "three", "good", "also good"}));
    }

    // When the new grammar cannot take the old one's place, the old one stays whole.
    void unwritableGrammarKeepsTheOldOne()
    {
        m_dir->writeApps({"A*one~V$a"});
        QVERIFY(CFile(m_dir->path()).TempLoad(MemoryListBox()));
        const QByteArray before = grammar();
        m_dir->writeApps({"A*two~V$a"});
        FileChannels::instance().setFaultHook(
            [](const char *step) { return QByteArray(step) == "commit"; });
        QString error;
        const bool written = CFile(m_dir->path()).TempLoad(MemoryListBox(), &error);
        FileChannels::instance().setFaultHook({});
        QVERIFY(!written);
        QVERIFY(error.contains("temp.txt"));
        QCOMPARE(grammar(), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QStringList({"VAppCmd.txt", "temp.txt"}));
    }
};

QTEST_GUILESS_MAIN(TestGrammar)
#include "tst_grammar.moc"
