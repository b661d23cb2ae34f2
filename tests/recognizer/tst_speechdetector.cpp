#include "GeneratedSound.h"
#include "recognizer/SpeechDetector.h"

#include <QTest>
#include <algorithm>
#include <cmath>

using namespace GeneratedSound;

namespace {

constexpr int kFrameMs = 10;

// A loud noise burst that swells and fades like a syllable, over background.
QList<qint16> syllable(int ms, double backgroundRms, quint32 seed)
{
    QList<qint16> samples = noise(ms, backgroundRms, seed);
    const QList<qint16> voice = noise(ms, 3000, seed + 1);
    for (qsizetype i = 0; i < samples.size(); ++i) {
        const double swell = std::sin(M_PI * double(i) / double(samples.size()));
        samples[i] = qint16(qBound(-32768.0, samples[i] + voice[i] * swell, 32767.0));
    }
    return samples;
}

double rmsDb(double rms)
{
    return 10 * std::log10(rms * rms + 1);
}

// The floor matches the background; over digital silence it stays well below the speech
// (these tests speak at RMS 3000), so that speech is heard as such.
bool floorMatches(double floorDb, double backgroundRms)
{
    return backgroundRms > 0 ? std::abs(floorDb - rmsDb(backgroundRms)) < 2
                             : floorDb < rmsDb(3000) - 15;
}

struct Heard
{
    QList<bool> speech; // per frame
    QList<int> starts;  // the frames at which the start of speech was reported
    double floorDb = 0;
};

Heard listen(SpeechDetector &detector, const QList<qint16> &samples)
{
    Heard heard;
    bool started = false;
    for (qsizetype at = 0; at + SpeechDetector::FrameSamples <= samples.size();
         at += SpeechDetector::FrameSamples) {
        heard.speech.append(detector.addFrame(samples.constData() + at));
        if (detector.speechStarted() && !started)
            heard.starts.append(int(heard.speech.size() - 1));
        started = detector.speechStarted();
    }
    heard.floorDb = detector.floorDb();
    return heard;
}

qsizetype speechFrames(const Heard &heard, qsizetype from, qsizetype to)
{
    return std::count(heard.speech.begin() + from, heard.speech.begin() + to, true);
}

} // namespace

// Speech and background told apart on generated sound, 10 ms frame by frame.
class TestSpeechDetector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toneBurst_data()
    {
        QTest::addColumn<double>("backgroundRms");
        QTest::addColumn<int>("zerosMs"); // digital silence between the background and the burst
        QTest::addColumn<double>("amplitude");
        QTest::addColumn<int>("burstMs");
        QTest::addColumn<double>("voiceRms"); // the user's voice level; 0: unknown
        QTest::addColumn<bool>("heard");
        QTest::newRow("after zeros") << 0.0 << 0 << 3000.0 << 300 << 0.0 << true;
        QTest::newRow("soft voice after zeros") << 0.0 << 0 << 1000.0 << 300 << 0.0 << true;
        QTest::newRow("in a quiet room") << 20.0 << 0 << 3000.0 << 300 << 0.0 << true;
        QTest::newRow("beside a fan") << 300.0 << 0 << 3000.0 << 300 << 0.0 << true;
        // A noise gate: the room, then zeros until the voice opens the gate.
        QTest::newRow("through a noise gate") << 300.0 << 500 << 3000.0 << 300 << 0.0 << true;
        QTest::newRow("shortest start") << 20.0 << 0 << 3000.0 << 30 << 0.0 << true;
        QTest::newRow("click: too short to start") << 20.0 << 0 << 3000.0 << 20 << 0.0 << true;
        QTest::newRow("the user") << 20.0 << 0 << 3000 * M_SQRT2 << 300 << 3000.0 << true;
        QTest::newRow("the user, softly") << 20.0 << 0 << 600 * M_SQRT2 << 300 << 3000.0 << true;
        // Talk far below the voice is not the user's, but still stands out from the room.
        QTest::newRow("a television, far below the user")
            << 20.0 << 0 << 200 * M_SQRT2 << 300 << 3000.0 << false;
        QTest::newRow("level unknown") << 20.0 << 0 << 200 * M_SQRT2 << 300 << 0.0 << true;
    }
    void toneBurst()
    {
        QFETCH(double, backgroundRms);
        QFETCH(int, zerosMs);
        QFETCH(double, amplitude);
        QFETCH(int, burstMs);
        QFETCH(double, voiceRms);
        QFETCH(bool, heard);
        QList<qint16> samples = noise(1000, backgroundRms);
        samples += noise(zerosMs, 0);
        samples += tone(burstMs, amplitude);
        samples += noise(1000, backgroundRms, 2);
        SpeechDetector detector;
        detector.setVoiceLevel(voiceRms > 0 ? rmsDb(voiceRms) : 0, 18);
        const Heard result = listen(detector, samples);
        const int first = (1000 + zerosMs) / kFrameMs;
        const int frames = heard ? burstMs / kFrameMs : 0;
        QCOMPARE(speechFrames(result, 0, result.speech.size()), frames);
        QCOMPARE(speechFrames(result, first, first + frames), frames);
        const QList<int> starts = frames >= SpeechDetector::StartFrames
                                      ? QList<int>{first + SpeechDetector::StartFrames - 1}
                                      : QList<int>{};
        QCOMPARE(result.starts, starts);
        // The burst does not drag the background up.
        QVERIFY2(floorMatches(result.floorDb, backgroundRms),
                 qPrintable(QString::number(result.floorDb)));
    }

    // A steady background or one that changes: a new background is speech only when it is much
    // louder than the last, until it has lasted long enough to be the background.
    void backgroundChanges_data()
    {
        QTest::addColumn<double>("beforeRms");
        QTest::addColumn<double>("afterRms");
        QTest::addColumn<bool>("heardAtChange");
        // Whatever is there from the start is the background, however loud.
        for (const double rms : {0.0, 20.0, 300.0, 3000.0})
            QTest::addRow("steady at RMS %g", rms) << rms << rms << false;
        QTest::newRow("quieter") << 2000.0 << 100.0 << false;
        QTest::newRow("slightly louder") << 100.0 << 300.0 << false;
        QTest::newRow("much louder") << 100.0 << 2000.0 << true;
        QTest::newRow("room to zeros") << 100.0 << 0.0 << false;
        // Too quiet to be speech whatever the floor.
        QTest::newRow("zeros to a hushed room") << 0.0 << 20.0 << false;
        QTest::newRow("zeros to room") << 0.0 << 100.0 << false;
        QTest::newRow("zeros to a fan") << 0.0 << 300.0 << false;
        // A sudden loud sound is speech until it has lasted long enough to be the background.
        QTest::newRow("zeros to a loud machine") << 0.0 << 2000.0 << true;
    }
    void backgroundChanges()
    {
        QFETCH(double, beforeRms);
        QFETCH(double, afterRms);
        QFETCH(bool, heardAtChange);
        QList<qint16> samples = noise(2000, beforeRms);
        samples += noise(10000, afterRms, 2);
        SpeechDetector detector;
        const Heard heard = listen(detector, samples);
        const int change = 2000 / kFrameMs;
        QCOMPARE(speechFrames(heard, 0, change), 0);
        QCOMPARE(heard.starts, heardAtChange ? QList<int>{change + SpeechDetector::StartFrames - 1}
                                             : QList<int>{});
        if (!heardAtChange)
            QCOMPARE(speechFrames(heard, 0, heard.speech.size()), 0);
        // A new background is learnt while it lasts: the last seconds are quiet again. Zeros
        // teach nothing: the room heard before them stays the background.
        const qsizetype end = heard.speech.size();
        QCOMPARE(speechFrames(heard, end - 3000 / kFrameMs, end), 0);
        QVERIFY2(floorMatches(heard.floorDb, afterRms > 0 ? afterRms : beforeRms),
                 qPrintable(QString::number(heard.floorDb)));
    }

    void speechLikeBursts_data()
    {
        QTest::addColumn<double>("backgroundRms");
        QTest::newRow("between exact zeros") << 0.0;
        QTest::newRow("in a quiet room") << 30.0;
        QTest::newRow("beside a fan") << 300.0;
    }
    void speechLikeBursts()
    {
        QFETCH(double, backgroundRms);
        // Syllables with short pauses between them, as in "open the calculator".
        const QList<int> syllableMs = {180, 220, 150, 250};
        const QList<int> pauseMs = {1000, 60, 90, 70, 1000};
        QList<qint16> samples;
        QList<QPair<int, int>> syllableFrames;
        for (qsizetype i = 0; i < pauseMs.size(); ++i) {
            samples += noise(pauseMs[i], backgroundRms, quint32(10 + i));
            if (i == syllableMs.size())
                break;
            const int first = int(samples.size() / SpeechDetector::FrameSamples);
            syllableFrames.append({first, first + syllableMs[i] / kFrameMs});
            samples += syllable(syllableMs[i], backgroundRms, quint32(20 + 2 * i));
        }
        SpeechDetector detector;
        const Heard heard = listen(detector, samples);
        qsizetype inSyllables = 0;
        for (const auto &[first, end] : std::as_const(syllableFrames)) {
            const qsizetype heardFrames = speechFrames(heard, first, end);
            inSyllables += heardFrames;
            QVERIFY2(
                heardFrames >= (end - first) / 2,
                qPrintable(QStringLiteral("%1 of %2 frames").arg(heardFrames).arg(end - first)));
        }
        // Nothing outside the syllables is speech, and each pause ends a run of speech.
        QCOMPARE(speechFrames(heard, 0, heard.speech.size()), inSyllables);
        QCOMPARE(heard.starts.size(), syllableMs.size());
        QVERIFY(heard.starts[0] < syllableFrames[0].first + 5);
        QVERIFY2(floorMatches(heard.floorDb, backgroundRms),
                 qPrintable(QString::number(heard.floorDb)));
    }

    // Zeros at the start of a stream (a muted microphone, a noise gate) take no time of the
    // detector's: the sound after them is heard frame for frame as without them, also where the
    // background changes and the floor catches up with it a block at a time.
    void zerosBeforeTheStreamChangeNothing_data()
    {
        QTest::addColumn<int>("zerosMs");
        QTest::addColumn<bool>("flicker"); // the last bit flickering instead of exact zeros
        QTest::addColumn<double>("roomRms");
        QTest::newRow("a frame of zeros") << 10 << false << 30.0;
        QTest::newRow("half a second of zeros") << 500 << false << 30.0;
        QTest::newRow("three seconds of zeros") << 3000 << false << 30.0;
        QTest::newRow("the last bit flickering") << 500 << true << 30.0;
        QTest::newRow("zeros before a hushed room") << 730 << false << 10.0;
    }
    void zerosBeforeTheStreamChangeNothing()
    {
        QFETCH(int, zerosMs);
        QFETCH(bool, flicker);
        QFETCH(double, roomRms);
        // A room, a fan switched on in it, then a syllable over the fan.
        const QList<qint16> sound =
            noise(1500, roomRms) + noise(4000, 300, 2) + syllable(250, 300, 3) + noise(500, 300, 4);
        QList<qint16> zeros = noise(zerosMs, 0);
        for (qsizetype i = 0; flicker && i < zeros.size(); ++i)
            zeros[i] = qint16(i % 3 == 0 ? 1 : i % 3 == 1 ? -1 : 0);
        SpeechDetector plain;
        const Heard without = listen(plain, sound);
        SpeechDetector afterZeros;
        Heard with = listen(afterZeros, zeros + sound);
        const qsizetype zeroFrames = zeros.size() / SpeechDetector::FrameSamples;
        QCOMPARE(speechFrames(with, 0, zeroFrames), 0);
        with.speech.remove(0, zeroFrames);
        for (int &start : with.starts)
            start -= int(zeroFrames);
        // The fan is taken for speech until the floor has risen to it, then the syllable.
        QVERIFY(without.starts.size() >= 2);
        QCOMPARE(with.speech, without.speech);
        QCOMPARE(with.starts, without.starts);
        QCOMPARE(with.floorDb, without.floorDb);
    }

    // Behind a noise gate, sound that stops for zeros is no background, though the zeros take
    // no time: a steady voice in three bursts stays speech in the third.
    void gatedSoundIsNoBackground()
    {
        QList<qint16> samples;
        for (int burst = 0; burst < 3; ++burst)
            samples += noise(300, 0) + tone(900, 3000);
        SpeechDetector detector;
        const Heard heard = listen(detector, samples);
        const qsizetype third = heard.speech.size() - 90;
        QCOMPARE(speechFrames(heard, third, third + 90), 90);
    }

    void resetForgetsTheBackground()
    {
        SpeechDetector detector;
        listen(detector, noise(1000, 100));
        listen(detector, noise(1000, 0));
        detector.reset();
        QVERIFY(detector.floorDb() < 0);
        // A new stream that starts with a loud machine: it is the background, not sound after
        // the digital silence of the last stream.
        const Heard heard = listen(detector, noise(2000, 3000));
        QCOMPARE(speechFrames(heard, 0, heard.speech.size()), 0);

        // The user's voice level stays: talk far below it is still not theirs.
        SpeechDetector user;
        user.setVoiceLevel(rmsDb(3000), 18);
        user.reset();
        listen(user, noise(1000, 20));
        QCOMPARE(listen(user, tone(300, 200 * M_SQRT2)).starts, QList<int>{});
    }

    void newSpeechNeedsFreshFrames()
    {
        SpeechDetector detector;
        listen(detector, noise(500, 20));
        const QList<qint16> loud = tone(100, 3000);
        const Heard before = listen(detector, loud);
        QVERIFY(detector.speechStarted());
        detector.awaitNewSpeech();
        const Heard after = listen(detector, loud);
        QCOMPARE(after.starts, QList<int>{SpeechDetector::StartFrames - 1});
        QCOMPARE(before.speech, after.speech);
    }
};

QTEST_GUILESS_MAIN(TestSpeechDetector)
#include "tst_speechdetector.moc"
