#include "recognizer/VoiceBounds.h"

#include <QTest>

namespace {

constexpr qint64 kFrame = 160;

} // namespace

// Where utterances start and end once the user's voice level is known: frame by frame, as the
// speech detector and the voice gate judge them.
class TestVoiceBounds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Speech the detector is sure of from frame 10; it comes near the voice at nearFrom.
    void start_data()
    {
        QTest::addColumn<int>("startWhenLoudMs");
        QTest::addColumn<int>("nearFrom");
        QTest::addColumn<int>("startFrame"); // -1: no utterance within 300 frames

        QTest::newRow("near at once: the preroll before the detector was sure") << 600 << 10 << -20;
        QTest::newRow("near 200 ms later: still from before the speech") << 600 << 30 << -20;
        QTest::newRow("near a second later: 600 ms before that moment") << 600 << 110 << 50;
        QTest::newRow("never near") << 600 << 1000 << -1;
        QTest::newRow("off: with the speech, however quiet") << 0 << 1000 << -20;
    }

    void start()
    {
        QFETCH(int, startWhenLoudMs);
        QFETCH(int, nearFrom);
        QFETCH(int, startFrame);
        VoiceBounds bounds(300, startWhenLoudMs, 700);
        std::optional<qint64> start;
        for (int frame = 0; frame < 300 && !start; ++frame)
            start = bounds.startAt(frame * kFrame, frame >= 10, frame >= nearFrom);
        QCOMPARE(start.value_or(-kFrame), startFrame * kFrame);
    }

    // Quieter speech that goes on ends the utterance; a pause does not, nor the voice's return.
    void end_data()
    {
        QTest::addColumn<QString>("frames"); // s: quieter speech, n: near the voice, _: pause
        QTest::addColumn<int>("endFrame");   // -1: goes on

        QTest::newRow("quieter speech for 700 ms") << QString(71, 's') << 70;
        QTest::newRow("the voice comes back") << QString(60, 's') + "n" + QString(60, 's') << -1;
        QTest::newRow("a pause is no talk") << QString(40, 's') + QString(40, '_') << -1;
        QTest::newRow("paused talk adds up") << QString(40, 's') + "__" + QString(40, 's') << 72;
    }

    void end()
    {
        QFETCH(QString, frames);
        QFETCH(int, endFrame);
        VoiceBounds bounds(300, 600, 700);
        int ended = -1;
        for (int f = 0; f < frames.size() && ended < 0; ++f) {
            if (bounds.quietSpeechGoesOn(frames[f] != '_', frames[f] == 'n'))
                ended = f;
        }
        QCOMPARE(ended, endFrame);
    }
};

QTEST_GUILESS_MAIN(TestVoiceBounds)
#include "tst_voicebounds.moc"
