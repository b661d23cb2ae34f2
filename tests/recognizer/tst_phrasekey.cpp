#include "recognizer/PhraseKey.h"
#include "recognizer/Pronouncer.h"

#include <QTest>

// Phrases to dictionary words, and pronunciations for the words the dictionary lacks.
class TestPhraseKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void key_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("key");
        QTest::newRow("case") << "Go Back"
                              << "go back";
        QTest::newRow("function key") << "press F5"
                                      << "press f five";
        QTest::newRow("teen") << "F12"
                              << "f twelve";
        QTest::newRow("tens") << "tab 42"
                              << "tab forty two";
        QTest::newRow("round tens") << "line 20"
                                    << "line twenty";
        QTest::newRow("long number digit by digit") << "room 2024"
                                                    << "room two zero two four";
        QTest::newRow("leading zero") << "agent 07"
                                      << "agent zero seven";
        QTest::newRow("letters after digits") << "MP3player"
                                              << "mp three player";
        QTest::newRow("punctuation splits") << "page-down, now!"
                                            << "page down now";
        QTest::newRow("apostrophe inside a word") << "don't stop"
                                                  << "don't stop";
        QTest::newRow("apostrophes around a word") << "'quoted'"
                                                   << "quoted";
        QTest::newRow("accents") << QString::fromUtf8("Café Ünïcode") << "cafe unicode";
        QTest::newRow("surrounding blanks") << "  spaced  out "
                                            << "spaced out";
        QTest::newRow("only punctuation") << "?!-"
                                          << "";
        QTest::newRow("empty") << ""
                               << "";
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

    void spelledPhones()
    {
        QCOMPARE(Pronouncer::phones("vlc"), QString("V IY EH L S IY"));
        QCOMPARE(Pronouncer::phones("gtk"), QString("JH IY T IY K EY"));
        QCOMPARE(Pronouncer::spelledPhones("w'x"), QString("D AH B AH L Y UW EH K S"));
    }

    void modelPhones_data()
    {
        QTest::addColumn<QString>("flite");
        QTest::addColumn<QString>("model");
        QTest::newRow("stress dropped") << "iy1"
                                        << "IY";
        QTest::newRow("schwa") << "ax0"
                               << "AH";
        QTest::newRow("r-coloured schwa") << "axr"
                                          << "ER";
        QTest::newRow("aspirated h") << "hv"
                                     << "HH";
        QTest::newRow("flap") << "dx"
                              << "T";
        QTest::newRow("nasal flap") << "nx"
                                    << "N";
        QTest::newRow("syllabic l") << "el"
                                    << "AH L";
        QTest::newRow("syllabic m") << "em"
                                    << "AH M";
        QTest::newRow("syllabic n") << "en1"
                                    << "AH N";
        QTest::newRow("pause") << "pau"
                               << "";
    }
    void modelPhones()
    {
        QFETCH(QString, flite);
        QFETCH(QString, model);
        QCOMPARE(Pronouncer::modelPhones(flite), model);
    }

    void compound_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("phones");
        QTest::newRow("letter and word") << "xterm"
                                         << "EH K S T ER M";
        QTest::newRow("two words") << "libreoffice"
                                   << "L IY B R AH AO F AH S";
        QTest::newRow("fewest pieces") << "termoffice"
                                       << "T ER M AO F AH S";
        QTest::newRow("letters only is no split") << "qzx"
                                                  << "";
        QTest::newRow("no dictionary word fits") << "blimtrop"
                                                 << "";
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

    void letterToSound()
    {
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
