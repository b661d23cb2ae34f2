#include "SpeechClips.h"
#include "recognizer/PhraseSearch.h"
#include "recognizer/SphinxEngine.h"
#include "recognizer/audio/WavReader.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(SphinxEngine::Options)

namespace {

const char kNews[] = "espeak:en-gb-scotland+m3|The boats leave the harbour before dawn and "
                     "return in the afternoon with their catch";

// What a command is said with.
enum class Shape
{
    Alone,
    UnderTalk,
    RightAfterAnother,
    AWhileAfterAnother
};

} // namespace

Q_DECLARE_METATYPE(Shape)

// A command said while others talk more quietly is heard; the same words inside the user's own
// sentence, as loud as the rest of it, are not a command. Synthesized voices, real PocketSphinx.
class TestPhrasesInSpeech : public QObject
{
    Q_OBJECT

private:
    // "voice|text" spoken into 16 kHz samples, with no silence around.
    QList<qint16> spoken(const QString &piece)
    {
        QString error;
        QList<qint16> samples;
        if (!WavReader::read(SpeechClips::clip(m_dir->path(), piece, 0, 0), &samples, &error))
            qWarning().noquote() << error;
        return samples;
    }

    // under, scaled by gainDb, with over added from sample at onwards.
    static QList<qint16> mixed(QList<qint16> under, double gainDb, const QList<qint16> &over,
                               qsizetype at)
    {
        const double gain = std::pow(10.0, gainDb / 20);
        under.resize(qMax(under.size(), at + over.size()));
        for (qsizetype i = 0; i < under.size(); ++i) {
            const qsizetype j = i - at;
            const double sum = under[i] * gain + (j >= 0 && j < over.size() ? over[j] : 0);
            under[i] = qint16(qBound(-32768.0, sum, 32767.0));
        }
        return under;
    }

    static QList<SphinxEngine::Detection> detected(const QList<qint16> &speech,
                                                   const SphinxEngine::Options &options)
    {
        SphinxEngine engine(options);
        QString error;
        if (!engine.setGrammar(SpeechGrammar({"page down", "close window", "Notepad"}), &error))
            qWarning().noquote() << error;
        // Half a second of silence around the speech, as a microphone delivers between phrases.
        const QList<qint16> silence(SphinxEngine::SampleRate / 2, 0);
        const QList<qint16> stream = silence + speech + silence;
        QList<SphinxEngine::Detection> detections;
        engine.process(stream.constData(), stream.size(), &detections);
        engine.finish(&detections);
        return detections;
    }

    // Noise suppression throughout, as in a room whose background is loud.
    static SphinxEngine::Options options(bool findInsideSpeech = true)
    {
        SphinxEngine::Options options;
        options.findInsideSpeech = findInsideSpeech;
        options.noisyRoomDb = 0;
        return options;
    }

    // With the loud part of an utterance heard on its own, at the margin measured for it; the
    // utterance ends endMs after the loud part, or (0) at a pause in the talk.
    static SphinxEngine::Options withLoudPart(int endMs)
    {
        SphinxEngine::Options options = TestPhrasesInSpeech::options();
        options.loudPartApartDb = 8;
        options.loudPartEndMs = endMs;
        return options;
    }

    static QStringList phrases(const QList<SphinxEngine::Detection> &detections)
    {
        QStringList phrases;
        for (const SphinxEngine::Detection &d : detections)
            phrases.append(d.phrase);
        return phrases;
    }

    static QStringList phrases(const QList<qint16> &speech, const SphinxEngine::Options &options)
    {
        return phrases(detected(speech, options));
    }

    QList<qint16> commandUnderTalk()
    {
        return mixed(spoken(kNews), -20, spoken("espeak:en-us|page down"),
                     2 * SphinxEngine::SampleRate);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        m_dir = std::make_unique<QTemporaryDir>();
    }

    // Without looking inside other speech, a command under a television is lost: the reason the
    // search looks there.
    void commandBesideOtherSpeech_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("talk");
        QTest::addColumn<double>("talkDb");
        QTest::addColumn<bool>("inside"); // phrases looked for inside other speech
        QTest::addColumn<QStringList>("phrases");

        const QString news = kNews;
        const QString pageDown = "espeak:en-us|page down";
        QTest::newRow("alone") << pageDown << QString() << 0.0 << true << QStringList{"page down"};
        QTest::newRow("television 20 dB under the command")
            << pageDown << news << -20.0 << true << QStringList{"page down"};
        QTest::newRow("television 20 dB under, not looked for inside speech")
            << pageDown << news << -20.0 << false << QStringList{};
        // The user's own sentence: the rest of it is as loud as the phrase.
        QTest::newRow("inside the user's sentence")
            << "espeak:en-us|then page down to the end of the list please" << QString() << 0.0
            << true << QStringList{};
        QTest::newRow("television as loud as the command")
            << pageDown << news << 0.0 << true << QStringList{};
    }

    void commandBesideOtherSpeech()
    {
        QFETCH(QString, command);
        QFETCH(QString, talk);
        QFETCH(double, talkDb);
        QFETCH(bool, inside);
        QFETCH(QStringList, phrases);
        const QList<qint16> said = spoken(command);
        QVERIFY(!said.isEmpty());
        // The command starts two seconds into the talk, which goes on after it.
        const QList<qint16> speech =
            talk.isEmpty() ? said : mixed(spoken(talk), talkDb, said, 2 * SphinxEngine::SampleRate);
        QCOMPARE(TestPhrasesInSpeech::phrases(speech, options(inside)), phrases);
    }

    // Talk that stays below the command by the margin allowed beside it is not the command's to
    // cover, whether the search put it into the phone loop or into silence.
    void quieterTalkIsNotCovered_data()
    {
        QTest::addColumn<double>("talkDb");
        QTest::addColumn<bool>("coverQuietSpeech");
        QTest::addColumn<QStringList>("phrases");

        const QStringList command{"close window"};
        QTest::newRow("talk 10 dB under") << -10.0 << false << command;
        QTest::newRow("talk 10 dB under, all of it to cover") << -10.0 << true << QStringList{};
        QTest::newRow("talk 14 dB under") << -14.0 << false << command;
        QTest::newRow("talk 14 dB under, all of it to cover") << -14.0 << true << QStringList{};
        QTest::newRow("talk as loud") << 0.0 << false << QStringList{};
    }

    void quieterTalkIsNotCovered()
    {
        QFETCH(double, talkDb);
        QFETCH(bool, coverQuietSpeech);
        QFETCH(QStringList, phrases);
        SphinxEngine::Options options = TestPhrasesInSpeech::options();
        options.coverQuietSpeech = coverQuietSpeech;
        // A second into the news, which goes on after the command.
        const QList<qint16> speech =
            mixed(spoken(kNews), talkDb, spoken("espeak:en-us+f3|close window"),
                  SphinxEngine::SampleRate);
        QCOMPARE(TestPhrasesInSpeech::phrases(speech, options), phrases);
    }

    // Said in this voice under this television, the utterance, ended in the talk soon after the
    // command, holds "close window", and its loud part alone "page down": when the two hearings
    // disagree, nothing is done. In the other voice both hold "page down", ended soon after the
    // command or at the talk's pause.
    void loudPartCountsWhenBothHearingsAgree()
    {
        const QList<qint16> disagreeing = mixed(
            spoken(kNews), -20, spoken("espeak:en-us+m3|page down"), 2 * SphinxEngine::SampleRate);
        QCOMPARE(phrases(disagreeing, withLoudPart(500)), QStringList{});
        QCOMPARE(phrases(commandUnderTalk(), withLoudPart(500)), QStringList{"page down"});
        QCOMPARE(phrases(commandUnderTalk(), withLoudPart(0)), QStringList{"page down"});
    }

    // Over talk that goes on, the command acts soon after it is said, not when the talk pauses:
    // heard again on its own as the loud part of an utterance, or, once the user's level is
    // known, heard from the moment it comes near that level until quieter talk has gone on.
    void commandOverTalkThatGoesOn_data()
    {
        QTest::addColumn<SphinxEngine::Options>("options");
        QTest::addColumn<bool>("voiceLevelKnown");
        QTest::addColumn<double>("talkDb");
        QTest::addColumn<bool>("soon");

        QTest::newRow("loud part heard on its own") << withLoudPart(500) << false << -10.0 << true;
        QTest::newRow("level unknown: at the talk's pause")
            << withLoudPart(0) << false << -10.0 << false;
        // Louder moments of this talk come within the voice margin at -10 dB.
        QTest::newRow("from near the user's level") << options() << true << -14.0 << true;
        SphinxEngine::Options fromTalk = options();
        fromTalk.startWhenLoudMs = 0;
        fromTalk.quietSpeechEndMs = 0;
        QTest::newRow("level known, from the talk's start") << fromTalk << true << -14.0 << false;
    }

    void commandOverTalkThatGoesOn()
    {
        QFETCH(SphinxEngine::Options, options);
        QFETCH(bool, voiceLevelKnown);
        QFETCH(double, talkDb);
        QFETCH(bool, soon);
        // The news read twice over, with no pause.
        const QList<qint16> talk = spoken(kNews) + spoken(kNews);
        const QList<qint16> command = spoken("espeak:en-us+f3|close window");
        if (voiceLevelKnown) // the user's level: their command's loudest 50 ms
            options.voiceLevel = SpeechClips::loudest(command);
        const QList<SphinxEngine::Detection> heard =
            detected(mixed(talk, talkDb, command, 2 * SphinxEngine::SampleRate), options);
        // The stream starts with half a second of silence.
        const qint64 talkEnd = SphinxEngine::SampleRate / 2 + talk.size();
        QVERIFY(talk.size() > 4 * SphinxEngine::SampleRate);
        QCOMPARE(phrases(heard), QStringList{"close window"});
        if (soon)
            QVERIFY2(heard[0].eventSample < talkEnd - SphinxEngine::SampleRate,
                     qPrintable(QString::number(heard[0].eventSample)));
        else
            QVERIFY(heard[0].eventSample >= talkEnd);
    }

    // A command that the first hearing finds is heard again, at the long speech's price, only when
    // the stretch of speech it belongs to is longer than the limit: talk around it, or speech that
    // stopped too shortly before it for a command said on its own. A phone loop whose phones cost
    // nothing takes any speech.
    void longUtteranceHeardAgain_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<std::optional<double>>("longPrice");
        QTest::addColumn<int>("longMs");
        QTest::addColumn<QStringList>("phrases");

        const std::optional<double> cheap = 0.0;
        const std::optional<double> none;
        const QStringList command{"page down"};
        QTest::newRow("under talk, heard once") << Shape::UnderTalk << none << 1500 << command;
        QTest::newRow("under talk, long") << Shape::UnderTalk << cheap << 1500 << QStringList{};
        QTest::newRow("under talk, under the limit")
            << Shape::UnderTalk << cheap << 20000 << command;
        QTest::newRow("alone, under the limit") << Shape::Alone << cheap << 1500 << command;
        QTest::newRow("alone, over the limit") << Shape::Alone << cheap << 200 << QStringList{};
        QTest::newRow("right after another")
            << Shape::RightAfterAnother << cheap << 1500 << command;
        QTest::newRow("a while after another")
            << Shape::AWhileAfterAnother << cheap << 1500 << command + command;
    }

    void longUtteranceHeardAgain()
    {
        QFETCH(Shape, shape);
        QFETCH(std::optional<double>, longPrice);
        QFETCH(int, longMs);
        QFETCH(QStringList, phrases);
        SphinxEngine::Options heardAgain = options();
        heardAgain.longSpeechGarbagePhoneLog10 = longPrice;
        heardAgain.longSpeechMs = longMs;
        const QList<qint16> command = spoken("espeak:en-us|page down");
        // The first command's utterance ends 0.2 s into the pause, and the second's starts 0.3 s
        // before its speech: after 0.4 s they are one stretch (the first, under the limit, is
        // not heard again), after 2 s two.
        const int pauseMs = shape == Shape::RightAfterAnother ? 400 : 2000;
        const QList<qint16> pause(SphinxEngine::SampleRate * pauseMs / 1000, 0);
        QList<qint16> speech = command;
        if (shape == Shape::UnderTalk)
            speech = commandUnderTalk();
        else if (shape != Shape::Alone)
            speech = command + pause + command;
        QCOMPARE(TestPhrasesInSpeech::phrases(speech, heardAgain), phrases);
    }

    // In a stretch of speech, or shortly after talk, a phrase counts only after a longer
    // silence: talk that goes on after a short pause makes it part of the talk. A command said
    // on its own in a quiet room is over after the short silence, whatever follows.
    void commandInAStretchWaitsForSilence_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("pauseMs");
        QTest::addColumn<bool>("tailAfterTalk");
        QTest::addColumn<int>("stretchTailMs");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<QStringList>("phrases");
        const QString notepad = "flite:awb|Notepad";
        const QStringList both{"Notepad", "page down"};
        const QStringList command{"page down"};
        const int gap = -75;
        QTest::newRow("talk goes on")
            << notepad << 400 << true << 500 << gap << QStringList{"Notepad"};
        QTest::newRow("talk goes on, short silence in stretches too")
            << notepad << 400 << true << 200 << gap << both;
        QTest::newRow("talk goes on later") << notepad << 400 << true << 500 << 900 << both;
        QTest::newRow("said on its own") << QString() << 0 << true << 500 << gap << command;
        QTest::newRow("a second after talk")
            << QString(kNews) << 1000 << true << 500 << gap << QStringList{};
        QTest::newRow("a second after talk, short silence there")
            << QString(kNews) << 1000 << false << 500 << gap << command;
        QTest::newRow("a second after talk, talk goes on later")
            << QString(kNews) << 1000 << true << 500 << 900 << command;
    }
    void commandInAStretchWaitsForSilence()
    {
        QFETCH(QString, before);
        QFETCH(int, pauseMs);
        QFETCH(bool, tailAfterTalk);
        QFETCH(int, stretchTailMs);
        QFETCH(int, gapMs);
        QFETCH(QStringList, phrases);
        SphinxEngine::Options tail = options();
        tail.stretchTailMs = stretchTailMs;
        tail.tailAfterTalk = tailAfterTalk;
        const auto pause = [](int ms) {
            return QList<qint16>(SphinxEngine::SampleRate * ms / 1000, 0);
        };
        // The clips have silence of their own at both ends: a negative gap overlaps them.
        const QList<qint16> command = spoken("espeak:en-us|page down") + pause(qMax(0, gapMs));
        QList<qint16> speech =
            mixed(command, 0, spoken(kNews),
                  command.size() + qMin(0, gapMs) * SphinxEngine::SampleRate / 1000);
        if (!before.isEmpty())
            speech = spoken(before) + pause(pauseMs) + speech;
        QCOMPARE(TestPhrasesInSpeech::phrases(speech, tail), phrases);
    }

    // Where nobody has talked for a while a command is held to the quiet room's price; after
    // talk, to the price of speech said on its own. The prices here make the two tell apart: at
    // 10^0 the phone loop takes everything.
    void quietRoomPriceAfterTalk_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("quietAfterTalkMs");
        QTest::addColumn<QStringList>("phrases");
        const QStringList command{"page down"};
        QTest::newRow("in a quiet room") << QString() << 10000 << command;
        QTest::newRow("two seconds after talk") << kNews << 10000 << QStringList{};
        QTest::newRow("talk forgotten after one second") << kNews << 1000 << command;
        QTest::newRow("after a command, which is not talk")
            << "flite:awb|close window" << 10000 << QStringList{"close window", "page down"};
    }
    void quietRoomPriceAfterTalk()
    {
        QFETCH(QString, before);
        QFETCH(int, quietAfterTalkMs);
        QFETCH(QStringList, phrases);
        SphinxEngine::Options prices = options();
        prices.garbagePhoneLog10 = 0;
        prices.longSpeechGarbagePhoneLog10 = 0;
        prices.quietGarbagePhoneLog10 = PhraseSearch::GarbagePhoneLog10;
        prices.quietAfterTalkMs = quietAfterTalkMs;
        QList<qint16> speech = spoken("espeak:en-us|page down");
        if (!before.isEmpty())
            speech = spoken(before) + QList<qint16>(2 * SphinxEngine::SampleRate, 0) + speech;
        QCOMPARE(TestPhrasesInSpeech::phrases(speech, prices), phrases);
    }

    // Hearing every utterance a second time at the live price changes nothing, in the utterance
    // or in those after it: the cepstral mean goes on as after one hearing.
    // Speech that goes on where an utterance is cut off at its longest (8 s) is talk: a command
    // in it is not said on its own. After a pause, it is.
    void commandRightAfterACut_data()
    {
        QTest::addColumn<int>("pauseMs");
        QTest::addColumn<bool>("refuseAfterCut");
        QTest::addColumn<QStringList>("phrases");

        QTest::newRow("right after 8 s of talk") << 0 << true << QStringList{};
        QTest::newRow("right after, taken without the rule")
            << 0 << false << QStringList{"page down"};
        QTest::newRow("a second after") << 1000 << true << QStringList{"page down"};
    }

    void commandRightAfterACut()
    {
        QFETCH(int, pauseMs);
        QFETCH(bool, refuseAfterCut);
        QFETCH(QStringList, phrases);
        const QString voice = "espeak:en-gb-scotland+m3|";
        const QList<qint16> talk =
            spoken(kNews) + spoken(voice + "and the market opens when they come in to the quay") +
            spoken(voice +
                   "where the gulls wait on the old stone walls for their share of the fish");
        QVERIFY(talk.size() >= 8 * SphinxEngine::SampleRate);
        SphinxEngine::Options options = TestPhrasesInSpeech::options();
        options.refuseAfterCut = refuseAfterCut;
        const QList<qint16> pause(SphinxEngine::SampleRate * pauseMs / 1000, 0);
        const QList<qint16> speech =
            talk.mid(0, 8 * SphinxEngine::SampleRate) + pause + spoken("espeak:en-us|page down");
        QCOMPARE(TestPhrasesInSpeech::phrases(speech, options), phrases);
    }

    void secondHearingLeavesTheStreamAsOne()
    {
        const QList<qint16> pause(SphinxEngine::SampleRate, 0);
        const QList<qint16> speech =
            commandUnderTalk() + pause + spoken("espeak:en-us+f3|close window") + pause +
            spoken("flite:awb|Notepad") + pause + spoken("espeak:en-us|page down");
        SphinxEngine::Options once = options();
        once.longSpeechGarbagePhoneLog10.reset();
        once.quietGarbagePhoneLog10.reset();
        once.stretchTailMs = once.shortTailMs; // the second hearing alone differs
        SphinxEngine::Options twice = once;
        twice.longSpeechGarbagePhoneLog10 = once.garbagePhoneLog10;
        twice.longSpeechMs = 0;
        const QList<SphinxEngine::Detection> first = detected(speech, once);
        const QList<SphinxEngine::Detection> second = detected(speech, twice);
        QCOMPARE(phrases(first),
                 (QStringList{"page down", "close window", "Notepad", "page down"}));
        QCOMPARE(phrases(second), phrases(first));
        for (qsizetype i = 0; i < first.size(); ++i) {
            QCOMPARE(second[i].coverage, first[i].coverage);
            QCOMPARE(second[i].asideDb, first[i].asideDb);
            QCOMPARE(second[i].eventSample, first[i].eventSample);
        }
    }
};

QTEST_GUILESS_MAIN(TestPhrasesInSpeech)
#include "tst_phrasesinspeech.moc"
