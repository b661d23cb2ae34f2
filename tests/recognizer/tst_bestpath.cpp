#include "recognizer/BestPath.h"
#include "recognizer/UtteranceFrames.h"

#include <QTest>

#include <algorithm>

using Words = QList<BestPath::Word>;

// The measures by which a result found in speech is refused, on fixed paths.
class TestBestPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A phrase stretched over a longer sentence: its slowest word takes far more time a phone
    // than anyone speaks. Only speech counts: the pause a last word takes in is no slowness.
    void slowestSpeechPace_data()
    {
        QTest::addColumn<Words>("words");
        QTest::addColumn<QList<bool>>("speech");
        QTest::addColumn<double>("pace");

        const QList<bool> allSpeech(300, true);
        QTest::newRow("no words") << Words{} << allSpeech << 0.0;
        QTest::newRow("one word") << Words{{10, 49, 4}} << allSpeech << 10.0;
        QTest::newRow("the slowest word decides")
            << Words{{0, 29, 3}, {30, 129, 4}, {130, 149, 2}} << allSpeech << 25.0;
        // A word whose phones are unknown tells nothing.
        QTest::newRow("unknown phones")
            << Words{{0, 299, 0}, {300, 319, 2}} << QList<bool>(320, true) << 10.0;
        QList<bool> thenSilence(150, false);
        std::fill(thenSilence.begin(), thenSilence.begin() + 60, true);
        QTest::newRow("silence taken in by the last word")
            << Words{{0, 29, 3}, {30, 149, 3}} << thenSilence << 10.0;
        QTest::newRow("a word beyond the frames") << Words{{280, 319, 2}} << allSpeech << 10.0;
    }

    void slowestSpeechPace()
    {
        QFETCH(Words, words);
        QFETCH(QList<bool>, speech);
        QFETCH(double, pace);
        UtteranceFrames frames;
        for (const bool isSpeech : speech)
            frames.add(isSpeech, isSpeech ? 70 : 0);
        QCOMPARE(frames.slowestSpeechPace(words), pace);
    }

    void coverage_data()
    {
        QTest::addColumn<Words>("words");
        QTest::addColumn<QList<bool>>("speech");
        QTest::addColumn<double>("coverage");

        const QList<bool> speech{false, true, true, true, true, false, false, true, true, false};
        QTest::newRow("all speech inside the words") << Words{{1, 4}, {7, 8}} << speech << 1.0;
        // A pause between the words is no speech: the words need not cover it.
        QTest::newRow("pause between the words") << Words{{0, 4}, {6, 9}} << speech << 1.0;
        QTest::newRow("half the speech left out") << Words{{1, 3}} << speech << 0.5;
        QTest::newRow("no speech") << Words{{0, 9}} << QList<bool>(10, false) << 0.0;
    }

    void coverage()
    {
        QFETCH(Words, words);
        QFETCH(QList<bool>, speech);
        QFETCH(double, coverage);
        QCOMPARE(BestPath::coverage(words, speech), coverage);
    }

    // A command's words are all the user's; a word found in the quieter talk after it is not.
    void quietestWord_data()
    {
        QTest::addColumn<QList<double>>("levels");
        QTest::addColumn<double>("belowDb");

        QTest::newRow("words alike") << QList<double>{70, 72, 72, 69} << 0.0;
        QTest::newRow("a softer word") << QList<double>{70, 72, 64, 66} << 6.0;
        QTest::newRow("a word of the talk after it") << QList<double>{72, 71, 58, 57} << 14.0;
    }

    void quietestWord()
    {
        QFETCH(QList<double>, levels);
        QFETCH(double, belowDb);
        UtteranceFrames frames;
        for (const double level : levels)
            frames.add(true, level);
        QCOMPARE(frames.quietestWordBelowDb(Words{{0, 1, 2}, {2, 3, 2}}), belowDb);
        QCOMPARE(frames.quietestWordBelowDb(Words{}), 0.0);
    }

    // Which speech a phrase must cover, from the speech detector's frames: not the speech the
    // search put beside the phrase, nor speech quieter than the quietest level asked for.
    void coverageOfFrames_data()
    {
        QTest::addColumn<QList<double>>("levels");
        QTest::addColumn<Words>("besides");
        QTest::addColumn<double>("quietestDb");
        QTest::addColumn<double>("coverage");

        // Frames 0-3 talk, 4-7 the phrase, 8-9 silence (level 0 is no speech below).
        const QList<double> talkThenPhrase{62, 64, 63, 61, 70, 72, 71, 69, 0, 0};
        QTest::newRow("all speech counts") << talkThenPhrase << Words{} << 0.0 << 0.5;
        QTest::newRow("quieter talk left out") << talkThenPhrase << Words{} << 66.0 << 1.0;
        QTest::newRow("talk as loud as the phrase counts")
            << QList<double>{70, 72, 63, 61, 70, 72, 71, 69, 0, 0} << Words{} << 66.0 << 4 / 6.0;
        QTest::newRow("a level exactly at the limit counts")
            << talkThenPhrase << Words{} << 64.0 << 4 / 5.0;
        // Its own soft sounds are the phrase's, however quiet.
        QTest::newRow("quiet speech inside the phrase counts")
            << QList<double>{72, 0, 0, 0, 70, 60, 60, 70, 0, 0} << Words{} << 66.0 << 4 / 5.0;
        QTest::newRow("talk beside the phrase left out")
            << talkThenPhrase << Words{{0, 3, 4, true}} << 0.0 << 1.0;
        QTest::newRow("silence is nothing to cover")
            << QList<double>(10, 0) << Words{} << 0.0 << 0.0;
    }

    void coverageOfFrames()
    {
        QFETCH(QList<double>, levels);
        QFETCH(Words, besides);
        QFETCH(double, quietestDb);
        QFETCH(double, coverage);
        UtteranceFrames frames;
        for (const double level : levels)
            frames.add(level > 0, level);
        const Words phrase{{4, 7, 4}};
        QCOMPARE(BestPath::coverage(phrase, frames.toCover(phrase, quietestDb, besides)), coverage);
    }
};

QTEST_GUILESS_MAIN(TestBestPath)
#include "tst_bestpath.moc"
