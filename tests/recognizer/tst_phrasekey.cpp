#include "recognizer/PhraseKey.h"
#include "recognizer/Pronouncer.h"

#include <QTest>
#include <array>

namespace {

// A table of two strings a row: {row name, input, expected}.
void stringRows(const char *input, const char *expected,
                std::initializer_list<std::array<const char *, 3>> rows)
{
    QTest::addColumn<QString>(input);
    QTest::addColumn<QString>(expected);
    for (const auto &[name, in, out] : rows)
        QTest::newRow(name) << QString::fromUtf8(in) << QString::fromUtf8(out);
}

} // namespace

// Phrases to dictionary words, and pronunciations for the words the dictionary lacks.
class TestPhraseKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void key_data()
    {
        stringRows("phrase", "key",
                   {{"case", "Go Back", "go back"},
                    {"function key", "press F5", "press f five"},
                    {"teen", "F12", "f twelve"},
                    {"tens", "tab 42", "tab forty two"},
                    {"round tens", "line 20", "line twenty"},
                    {"long number digit by digit", "room 2024", "room two zero two four"},
                    {"leading zero", "agent 07", "agent zero seven"},
                    {"letters after digits", "MP3player", "mp three player"},
                    {"punctuation splits", "page-down, now!", "page down now"},
                    {"apostrophe inside a word", "don't stop", "don't stop"},
                    {"apostrophes around a word", "'quoted'", "quoted"},
                    {"accents", "Café Ünïcode", "cafe unicode"},
                    {"surrounding blanks", "  spaced  out ", "spaced out"},
                    {"only punctuation", "?!-", ""},
                    {"empty", "", ""}});
    }
    void key()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, key);
        QCOMPARE(PhraseKey::key(phrase), key);
    }

    void spelledOut_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("spelled");
        QTest::newRow("no vowel") << "vlc" << true;
        QTest::newRow("long without vowel") << "xkcd" << true;
        QTest::newRow("three letters with vowel") << "kde" << true;
        QTest::newRow("y counts as vowel") << "gymp" << false;
        QTest::newRow("ordinary") << "blimtrop" << false;
    }
    void spelledOut()
    {
        QFETCH(QString, word);
        QFETCH(bool, spelled);
        QCOMPARE(Pronouncer::isSpelledOut(word), spelled);
    }

    void pronounceable_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("pronounceable");
        QTest::newRow("ordinary") << "blimtrop" << true;
        QTest::newRow("compound name") << "libreoffice" << true;
        QTest::newRow("no English word starts xt") << "xterm" << false;
        QTest::newRow("no English word starts kd") << "kdenlive" << false;
        QTest::newRow("upper case") << "XTERM" << false;
    }
    void pronounceable()
    {
        QFETCH(QString, word);
        QFETCH(bool, pronounceable);
        QCOMPARE(Pronouncer::looksPronounceable(word), pronounceable);
    }

    void modelPhones_data()
    {
        stringRows("flite", "model",
                   {{"stress dropped", "iy1", "IY"},
                    {"schwa", "ax0", "AH"},
                    {"r-coloured schwa", "axr", "ER"},
                    {"aspirated h", "hv", "HH"},
                    {"flap", "dx", "T"},
                    {"nasal flap", "nx", "N"},
                    {"syllabic l", "el", "AH L"},
                    {"syllabic m", "em", "AH M"},
                    {"syllabic n", "en1", "AH N"},
                    {"pause", "pau", ""}});
    }
    void modelPhones()
    {
        QFETCH(QString, flite);
        QFETCH(QString, model);
        QCOMPARE(Pronouncer::modelPhones(flite), model);
    }

    void compound_data()
    {
        stringRows("word", "phones",
                   {{"letter and word", "xterm", "EH K S T ER M"},
                    {"two words", "libreoffice", "L IY B R AH AO F AH S"},
                    {"fewest pieces", "termoffice", "T ER M AO F AH S"},
                    {"letters only is no split", "qzx", ""},
                    {"no dictionary word fits", "blimtrop", ""}});
    }
    void compound()
    {
        QFETCH(QString, word);
        QFETCH(QString, phones);
        // A small dictionary: the whole word is never looked up as its own piece.
        const QHash<QString, QString> dictionary{{"term", "T ER M"},      {"libre", "L IY B R AH"},
                                                 {"office", "AO F AH S"}, {"of", "AH V"},
                                                 {"fice", "F AY S"},      {"termoffice", "WRONG"}};
        QCOMPARE(
            Pronouncer::compoundPhones(word, [&](const QString &w) { return dictionary.value(w); }),
            phones);
    }

    void phones()
    {
        QCOMPARE(Pronouncer::phones("vlc"), QString("V IY EH L S IY"));
        QCOMPARE(Pronouncer::phones("gtk"), QString("JH IY T IY K EY"));
        QCOMPARE(Pronouncer::spelledPhones("w'x"), QString("D AH B AH L Y UW EH K S"));
        QCOMPARE(Pronouncer::phones("blimtrop"), QString("B L IH M T R AA P"));
        // Every phone must be one the acoustic model has, whatever flite makes of the word.
        const QString phones = Pronouncer::phones("kdenlive");
        QVERIFY(!phones.isEmpty());
        for (const QString &phone : phones.split(' '))
            QCOMPARE(Pronouncer::modelPhones(phone), phone);
    }
};

QTEST_GUILESS_MAIN(TestPhraseKey)
#include "tst_phrasekey.moc"
