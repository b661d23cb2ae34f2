#include "engine/Vocabularies.h"
#include "support/TempDataDir.h"

#include <QTemporaryDir>
#include <QTest>

using L = QList<QByteArray>;

// The rules of editing the vocabularies, on real files in vocab/.
class TestVocabularies : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempDataDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<TempDataDir>(); }

    void create_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("others");
        QTest::addColumn<QString>("message");
        QTest::newRow("blanks and accents") << "Mes réglages 2" << 0 << "";
        QTest::newRow("a 30th") << "Thirtieth" << 29 << "";
        QTest::newRow("a 31st") << "More" << 30
                                << "You Have Too Many Vocabularies Already!  The Maximum is 30.";
        QTest::newRow("listed, case ignored")
            << "v1" << 1 << "You Already Have A Vocabulary With That Name!";
        QTest::newRow("empty") << "" << 0 << "A vocabulary needs a name.";
        QTest::newRow("blanks only") << "   " << 0 << "A vocabulary needs a name.";
        QTest::newRow("slash") << "a/b" << 0 << "cannot contain";
        QTest::newRow("dot") << "v1.2" << 0 << "cannot contain";
        QTest::newRow("dollar") << "a$b" << 0 << "cannot contain";
        QTest::newRow("too long") << QString(201, 'x') << 0 << "at most 200 bytes";
    }

    // A refused name creates no file.
    void create()
    {
        QFETCH(QString, name);
        QFETCH(int, others);
        QFETCH(QString, message);
        for (int i = 1; i <= others; ++i)
            m_dir->writeVocab(QString("V%1").arg(i), {});
        const EditResult result = Vocabularies(m_dir->path()).create(name);
        QCOMPARE(result.isDone(), message.isEmpty());
        QVERIFY2(result.text.contains(message), qPrintable(result.text));
        QCOMPARE(m_dir->vocabFiles().size(), others + (message.isEmpty() ? 1 : 0));
        if (others == 30) {
            QCOMPARE(result.title, QString("Vocabulary Overload"));
            QCOMPARE(result.icon, Prompter::Icon::Information);
        }
    }

    void remove()
    {
        m_dir->writeVocab("Editing", {"a:1"});
        Vocabularies vocabularies(m_dir->path());
        const EditResult result = vocabularies.remove("editing");
        QCOMPARE(result.text, QString("You Must Select A Vocabulary First!"));
        QCOMPARE(result.title, QString("Vocabulary Deletion"));
        QVERIFY(vocabularies.remove("Editing").isDone());
        // Its words cannot be listed any more, and asking creates no file.
        QCOMPARE(vocabularies.words("Editing").result.text,
                 QString("There is no vocabulary named \"Editing\"."));
        QCOMPARE(m_dir->vocabFiles(), QStringList());
    }

    // op: a(dd) WORD, s(et) IDX WORD, d(elete) IDX, r(eplace) SHOWN WORD, x (delete shown) IDX
    // SHOWN. An empty message means done; a refused or failed edit leaves the file as it was.
    void words_data()
    {
        QTest::addColumn<QString>("vocab");
        QTest::addColumn<QStringList>("op");
        QTest::addColumn<QString>("message");
        QTest::addColumn<L>("after");
        const L before{"one:1", "two:2", "one:1", "three:3"};
        QTest::newRow("add after the last word")
            << "V" << QStringList{"a", "four:4"} << "" << before + L{"four:4"};
        QTest::newRow("set replaces the first equal word")
            << "V" << QStringList{"s", "2", "ONE:^1"} << ""
            << L{"ONE:^1", "two:2", "one:1", "three:3"};
        QTest::newRow("delete the word at the index")
            << "V" << QStringList{"d", "2"} << "" << L{"one:1", "two:2", "three:3"};
        QTest::newRow("no such vocabulary")
            << "v" << QStringList{"a", "x:1"} << "There is no vocabulary named \"v\"." << before;
        QTest::newRow("set: no such word")
            << "V" << QStringList{"s", "4", "x:1"} << "There is no word at index 4." << before;
        QTest::newRow("delete: no such word")
            << "V" << QStringList{"d", "9"} << "There is no word at index 9." << before;
        QTest::newRow("word too long")
            << "V" << QStringList{"a", QString(127, 'w')} << "13012" << before;
        // A list that lags behind the file: a word was saved since it was filled.
        QTest::newRow("replace the first equal word")
            << "V" << QStringList{"r", "one:1", "uno:1"} << ""
            << L{"uno:1", "two:2", "one:1", "three:3"};
        QTest::newRow("replace a word no longer held: appended")
            << "V" << QStringList{"r", "gone:0", "new:0"} << "" << before + L{"new:0"};
        QTest::newRow("delete shown: the word at its index")
            << "V" << QStringList{"x", "2", "one:1"} << "" << L{"one:1", "two:2", "three:3"};
        QTest::newRow("delete shown: moved, the first equal word")
            << "V" << QStringList{"x", "0", "three:3"} << "" << L{"one:1", "two:2", "one:1"};
        QTest::newRow("delete shown: no longer held")
            << "V" << QStringList{"x", "1", "gone:0"} << "" << before;
    }

    void words()
    {
        QFETCH(QString, vocab);
        QFETCH(QStringList, op);
        QFETCH(QString, message);
        QFETCH(L, after);
        m_dir->writeVocab("V", {"one:1", "two:2", "one:1", "three:3"});
        Vocabularies vocabularies(m_dir->path());
        EditResult result;
        if (op.at(0) == "a")
            result = vocabularies.addWord(vocab, op.at(1));
        else if (op.at(0) == "s")
            result = vocabularies.setWord(vocab, op.at(1).toInt(), op.at(2));
        else if (op.at(0) == "r")
            result = vocabularies.replaceWord(vocab, op.at(1), op.at(2));
        else if (op.at(0) == "x")
            result = vocabularies.deleteShownWord(vocab, op.at(1).toInt(), op.at(2));
        else
            result = vocabularies.deleteWord(vocab, op.at(1).toInt());
        QCOMPARE(result.isDone(), message.isEmpty());
        QVERIFY2(result.text.contains(message), qPrintable(result.text));
        QCOMPARE(m_dir->words("V"), after);
        QStringList listed;
        for (const QByteArray &word : after)
            listed.append(QString::fromLatin1(word));
        QCOMPARE(vocabularies.words("V").words, listed);
    }

    // Words copied into a vocabulary, as a drop or the Copy Words To... command does.
    void copy_data()
    {
        QTest::addColumn<L>("target");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<L>("after");
        QTest::addColumn<int>("added");
        QTest::newRow("skips held words, case counts")
            << L{"save:^s", "open:^o"} << QStringList{"save:^s", "Save:^s", "quit:^q"}
            << L{"save:^s", "open:^o", "Save:^s", "quit:^q"} << 2;
        QTest::newRow("into an empty vocabulary")
            << L() << QStringList{"b:2", "a:1"} << L{"b:2", "a:1"} << 2;
        QTest::newRow("onto their own vocabulary")
            << L{"a:1", "b:2"} << QStringList{"b:2", "a:1"} << L{"a:1", "b:2"} << 0;
        QTest::newRow("behind an empty first record, nothing overwritten")
            << L{"", "keep:1", "keep:2"} << QStringList{"new:3", "new:4", "keep:1"}
            << L{"", "keep:1", "keep:2", "new:3", "new:4"} << 2;
        QTest::newRow("a word twice, added once")
            << L{"a:1"} << QStringList{"b:2", "b:2"} << L{"a:1", "b:2"} << 1;
    }

    void copy()
    {
        QFETCH(L, target);
        QFETCH(QStringList, words);
        QFETCH(L, after);
        QFETCH(int, added);
        m_dir->writeVocab("T", target);
        const Vocabularies::Copied copied = Vocabularies(m_dir->path()).copyWords("T", words);
        QVERIFY2(copied.result.isDone(), qPrintable(copied.result.text));
        QCOMPARE(copied.added, added);
        QCOMPARE(m_dir->words("T"), after);
        QCOMPARE(m_dir->vocabFiles(), QStringList{"T.txt"}); // nothing left beside it
    }

    // A target that is not listed, an empty name among them, gets no file.
    void copyToNoVocabulary()
    {
        for (const QString &name : {QString("T"), QString()}) {
            const Vocabularies::Copied copied =
                Vocabularies(m_dir->path()).copyWords(name, {"a:1"});
            QCOMPARE(copied.result.outcome, EditResult::Outcome::Refused);
            QCOMPARE(m_dir->vocabFiles(), QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(TestVocabularies)
#include "tst_vocabularies.moc"
