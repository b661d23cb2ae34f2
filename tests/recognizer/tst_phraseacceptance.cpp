#include "recognizer/PhraseAcceptance.h"
#include "recognizer/SphinxEngine.h"
#include "recognizer/UtteranceFrames.h"

#include <QTest>

#include <optional>

namespace {

constexpr double kVoiceDb = 60;

// "page down" said at kVoiceDb after a pause: "page" over 20 frames and 4 phones, "down" over
// lastWordFrames and 2 phones, then optionally speech the phone loop took and talk no word took.
struct Utterance
{
    int talkFrames = 0;
    double talkBelowDb = 0;
    double lastWordBelowDb = 0;
    int lastWordFrames = 16;
    std::optional<double> asideBelowDb = std::nullopt;
    bool coverQuietSpeech = false;
    double maxFramesPerPhone = 10;
};

void addSpeech(UtteranceFrames *frames, int count, double levelDb)
{
    for (int i = 0; i < count; ++i)
        frames->add(true, levelDb);
}

QList<BestPath::Word> build(const Utterance &u, UtteranceFrames *frames)
{
    for (int i = 0; i < 10; ++i)
        frames->add(false, 20);
    QList<BestPath::Word> words{{10, 29, 4}, {30, 29 + u.lastWordFrames, 2}};
    addSpeech(frames, 20, kVoiceDb);
    addSpeech(frames, u.lastWordFrames, kVoiceDb - u.lastWordBelowDb);
    if (u.asideBelowDb) {
        // One phone over 15 frames: far slower than the phrase may be, were it the phrase's.
        const int first = int(frames->size());
        words.append({first, first + 14, 1, true});
        addSpeech(frames, 15, kVoiceDb - *u.asideBelowDb);
    }
    addSpeech(frames, u.talkFrames, kVoiceDb - u.talkBelowDb);
    for (int i = 0; i < 10; ++i)
        frames->add(false, 20);
    return words;
}

PhraseAcceptance acceptance(const Utterance &u)
{
    SpeechEngineOptions options;
    options.minCoverage = 0.8;
    options.maxFramesPerPhone = u.maxFramesPerPhone;
    options.wordMarginDb = 14;
    options.asideMarginDb = 8;
    options.coverQuietSpeech = u.coverQuietSpeech;
    return PhraseAcceptance(options);
}

} // namespace

Q_DECLARE_METATYPE(Utterance)

// Each rule refuses a phrase just beyond its threshold and lets it through just within.
class TestPhraseAcceptance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accepts_data()
    {
        QTest::addColumn<Utterance>("utterance");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("alone") << Utterance{} << true;
        QTest::newRow("words cover 80% of the speech") << Utterance{.talkFrames = 9} << true;
        QTest::newRow("words cover 78%") << Utterance{.talkFrames = 10} << false;
        // Talk as far below the phrase as speech beside it must stay is not the phrase's.
        QTest::newRow("quieter talk 8.5 dB below")
            << Utterance{.talkFrames = 20, .talkBelowDb = 8.5} << true;
        QTest::newRow("talk 8 dB below counts")
            << Utterance{.talkFrames = 20, .talkBelowDb = 8} << false;
        QTest::newRow("all talk counts when asked")
            << Utterance{.talkFrames = 20, .talkBelowDb = 20, .coverQuietSpeech = true} << false;
        QTest::newRow("last word 14 dB below the first")
            << Utterance{.lastWordBelowDb = 14} << true;
        QTest::newRow("last word 14.5 dB below") << Utterance{.lastWordBelowDb = 14.5} << false;
        QTest::newRow("10 frames a phone") << Utterance{.lastWordFrames = 20} << true;
        QTest::newRow("10.5 frames a phone") << Utterance{.lastWordFrames = 21} << false;
        QTest::newRow("10.5 frames a phone, no limit")
            << Utterance{.lastWordFrames = 21, .maxFramesPerPhone = 0} << true;
        QTest::newRow("speech beside 8 dB below") << Utterance{.asideBelowDb = 8} << true;
        QTest::newRow("speech beside 7.5 dB below") << Utterance{.asideBelowDb = 7.5} << false;
    }

    void accepts()
    {
        QFETCH(Utterance, utterance);
        QFETCH(bool, accepted);
        UtteranceFrames frames;
        const QList<BestPath::Word> words = build(utterance, &frames);
        PhraseAcceptance::Figures figures;
        QCOMPARE(acceptance(utterance).accepts(words, frames, &figures), accepted);
    }

    // The figures are what the engine reports of every decision, refused ones included.
    void figures()
    {
        const Utterance utterance{.talkFrames = 10, .lastWordFrames = 20, .asideBelowDb = 6};
        UtteranceFrames frames;
        const QList<BestPath::Word> words = build(utterance, &frames);
        PhraseAcceptance::Figures figures;
        QVERIFY(!acceptance(utterance).accepts(words, frames, &figures));
        QCOMPARE(figures.coverage, 40.0 / 50.0);
        QCOMPARE(figures.pace, 10.0);
        QCOMPARE(figures.asideDb, 6.0);
        QVERIFY(figures.aside);
    }
};

QTEST_GUILESS_MAIN(TestPhraseAcceptance)
#include "tst_phraseacceptance.moc"
