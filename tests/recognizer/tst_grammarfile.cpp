#include "recognizer/GrammarFile.h"
#include "recognizer/Recognizer.h"
#include "recognizer/SpeechGrammar.h"

#include <QTemporaryDir>
#include <QTest>

// Reading temp.txt and turning its phrases into what the engine listens for.
class TestGrammarFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("phrases");
        const QByteArray header = "[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n";
        QTest::newRow("as written, CR LF")
            << header + "<start>=switch to\r\n<start>=Notepad\r\n<start>=press F5\r\n"
            << QStringList{"switch to", "Notepad", "press F5"};
        QTest::newRow("Windows-1252 and kept blanks")
            << header + "<start>=Caf\xE9 \x80 menu\r\n<start>= spaced \r\n"
            << QStringList{QString::fromUtf8("Café € menu"), " spaced "};
        QTest::newRow("lone LF line ends")
            << QByteArray("[Grammar]\nlangid = 1033\ntype=cfg\n[<start>]\n<start>=go back\n")
            << QStringList{"go back"};
        QTest::newRow("empty phrase and equals sign inside")
            << header + "<start>=\r\n<start>=a=b\r\n"
            << QStringList{"", "a=b"};
        QTest::newRow("header only") << header << QStringList{};
    }
    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, phrases);
        GrammarFile grammar;
        QString error;
        QVERIFY2(GrammarFile::parse(bytes, &grammar, &error), qPrintable(error));
        QCOMPARE(grammar.phrases, phrases);
    }

    void notAGrammar_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain text") << QByteArray("hello\r\nworld\r\n");
        QTest::newRow("binary") << QByteArray("RIFF\0\0\0\0WAVEfmt ", 16);
        QTest::newRow("other section first") << QByteArray("[<start>]\r\n<start>=go\r\n");
        QTest::newRow("no start rule") << QByteArray("[Grammar]\r\ntype=cfg\r\n");
        QTest::newRow("dictation grammar")
            << QByteArray("[Grammar]\r\ntype=dictation\r\n[<start>]\r\n<start>=go\r\n");
        QTest::newRow("stray line in start rule")
            << QByteArray("[Grammar]\r\n[<start>]\r\nsomething else\r\n");
    }
    void notAGrammar()
    {
        QFETCH(QByteArray, bytes);
        GrammarFile grammar;
        QString error;
        QVERIFY(!GrammarFile::parse(bytes, &grammar, &error));
        QVERIFY2(error.contains("not a recognition grammar"), qPrintable(error));
    }

    void missingFile()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + "/temp.txt";
        GrammarFile grammar;
        QString error;
        QVERIFY(!GrammarFile::read(path, &grammar, &error));
        QVERIFY2(error.contains(path) && error.contains("does not exist"), qPrintable(error));
    }

    // A phrase that cannot be said is left out with a warning; of phrases that sound the same,
    // the first is heard.
    void phrasesToKeys()
    {
        const SpeechGrammar grammar(
            {"switch to", "", "!!!", "Save File", "...", "save file", "save-file", "F5", "f 5"});
        QCOMPARE(grammar.keys(),
                 (QList<QStringList>{{"switch", "to"}, {"save", "file"}, {"f", "five"}}));
        QCOMPARE(grammar.warnings().size(), 3);
        QVERIFY(grammar.warnings().at(1).contains("\"!!!\""));
        QCOMPARE(grammar.phraseFor("save file"), QString("Save File"));
        QCOMPARE(grammar.phraseFor("f five"), QString("F5"));
        QCOMPARE(grammar.phraseFor("save"), QString());
    }

    // The recognizer's own phrases are heard whatever the file holds, spelled as the recognizer
    // writes them; a phrase of the file that sounds the same gives way to them with a warning.
    void ownPhrasesBesideTheFile_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("leftOut");
        QTest::newRow("file without them")
            << QStringList{"save", "page down"}
            << QStringList{"go to sleep", "wake up", "save", "page down"} << QStringList{};
        QTest::newRow("file with the same words") << QStringList{"Go To Sleep!", "save", "wake-up"}
                                                  << QStringList{"go to sleep", "wake up", "save"}
                                                  << QStringList{"Go To Sleep!", "wake-up"};
        QTest::newRow("longer phrases stay the file's")
            << QStringList{"go to sleep now", "wake"}
            << QStringList{"go to sleep", "wake up", "go to sleep now", "wake"} << QStringList{};
        QTest::newRow("empty file")
            << QStringList{} << QStringList{"go to sleep", "wake up"} << QStringList{};
    }
    void ownPhrasesBesideTheFile()
    {
        QFETCH(QStringList, file);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, leftOut);
        const SpeechGrammar grammar(file, Recognizer::ownPhrases());
        QStringList keysFound;
        for (const QStringList &words : grammar.keys())
            keysFound.append(words.join(' '));
        QCOMPARE(keysFound, keys);
        QCOMPARE(grammar.phraseFor("go to sleep"), QString("go to sleep"));
        QCOMPARE(grammar.phraseFor("wake up"), QString("wake up"));
        QCOMPARE(grammar.warnings().size(), leftOut.size());
        for (qsizetype i = 0; i < leftOut.size(); ++i)
            QVERIFY2(grammar.warnings().at(i).startsWith("The phrase \"" + leftOut.at(i) +
                                                         "\" sounds like the program's own"),
                     qPrintable(grammar.warnings().at(i)));
        QVERIFY(grammar.isPrefixOfLonger("go to") && !grammar.isPrefixOfLonger("wake up"));
    }

    void prefixes()
    {
        const SpeechGrammar grammar({"page", "page down", "go back home", "refresh"});
        QVERIFY(grammar.isPrefixOfLonger("page"));
        QVERIFY(grammar.isPrefixOfLonger("go"));
        QVERIFY(grammar.isPrefixOfLonger("go back"));
        QVERIFY(!grammar.isPrefixOfLonger("page down"));
        QVERIFY(!grammar.isPrefixOfLonger("refresh"));
        QVERIFY(!grammar.isPrefixOfLonger("down"));
    }
};

QTEST_GUILESS_MAIN(TestGrammarFile)
#include "tst_grammarfile.moc"
