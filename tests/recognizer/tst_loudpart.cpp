#include "recognizer/LoudPart.h"

#include <QTest>
#include <optional>

namespace {

// A stretch of frames: how many, whether the detector heard speech in them, and their level.
struct Stretch
{
    int frames;
    bool speech;
    double levelDb;
};

UtteranceFrames framesOf(const QList<Stretch> &stretches)
{
    UtteranceFrames frames;
    for (const Stretch &s : stretches) {
        for (int i = 0; i < s.frames; ++i)
            frames.add(s.speech, s.levelDb);
    }
    return frames;
}

constexpr Stretch talk(int frames, double levelDb = 50)
{
    return {frames, true, levelDb};
}

constexpr Stretch silence(int frames)
{
    return {frames, false, 20};
}

using Range = std::optional<std::pair<qsizetype, qsizetype>>;

} // namespace

Q_DECLARE_METATYPE(Stretch)
Q_DECLARE_METATYPE(Range)

// The part of an utterance that stands out by level from the speech around it, on frames made
// up for the purpose: a command (60 dB) over talk (50 dB) and the shapes that are not one.
class TestLoudPart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void find_data()
    {
        QTest::addColumn<QList<Stretch>>("stretches");
        QTest::addColumn<double>("apartDb");
        QTest::addColumn<Range>("range");

        const Stretch command = talk(80, 60);
        // The command's frames 60 to 139, with a margin of 20 on each side.
        QTest::newRow("command over talk 10 dB below")
            << QList{talk(60), command, talk(100)} << 8.0 << Range({40, 159});
        QTest::newRow("looked for with no margin: off")
            << QList{talk(60), command, talk(100)} << 0.0 << Range();
        QTest::newRow("talk 5 dB below: too close")
            << QList{talk(60, 55), command, talk(100, 55)} << 8.0 << Range();
        QTest::newRow("talk at an even level") << QList{talk(300)} << 8.0 << Range();
        QTest::newRow("command alone: no speech beside it")
            << QList{silence(30), command, silence(60)} << 8.0 << Range();
        QTest::newRow("a second word 5 dB softer stays in the part")
            << QList{talk(60), talk(40, 60), talk(40, 55), talk(100)} << 8.0 << Range({40, 159});
        QTest::newRow("a pause inside the command stays in the part")
            << QList{talk(60), talk(30, 60), silence(20), talk(30, 60), talk(100)} << 8.0
            << Range({40, 159});
        // Two people as loud as each other, far apart: neither stands out.
        QTest::newRow("two loud voices a second apart")
            << QList{talk(60), command, talk(100), command, talk(60)} << 8.0 << Range();
    }

    void find()
    {
        QFETCH(QList<Stretch>, stretches);
        QFETCH(double, apartDb);
        QFETCH(Range, range);
        const std::optional<LoudPart::Range> found =
            LoudPart(apartDb, 500).find(framesOf(stretches));
        QCOMPARE(found.has_value(), range.has_value());
        if (found) {
            QCOMPARE(found->first, range->first);
            QCOMPARE(found->last, range->second);
        }
    }

    // Fed frame by frame, as the engine does: the first frame after which the utterance is over,
    // or -1.
    void isOver_data()
    {
        QTest::addColumn<QList<Stretch>>("stretches");
        QTest::addColumn<int>("endMs");
        QTest::addColumn<int>("overAt");

        const Stretch command = talk(80, 60);
        // The command's last loud frame is 139. It is asked 500 ms later and every 100 ms after
        // that; by 199 the talk has gone on for 400 ms past the part's margin.
        QTest::newRow("talk goes on after the command")
            << QList{talk(60), command, talk(200)} << 500 << 199;
        QTest::newRow("ending after a loud part: off")
            << QList{talk(60), command, talk(200)} << 0 << -1;
        QTest::newRow("the talk pauses after the command")
            << QList{talk(60), command, talk(20), silence(200)} << 500 << -1;
        QTest::newRow("talk alone") << QList{talk(400)} << 500 << -1;
        // A loud voice at the start of the utterance and quieter talk after it.
        QTest::newRow("command first, talk after") << QList{command, talk(200)} << 500 << 139;
    }

    void isOver()
    {
        QFETCH(QList<Stretch>, stretches);
        QFETCH(int, endMs);
        QFETCH(int, overAt);
        const UtteranceFrames all = framesOf(stretches);
        LoudPart part(8, endMs);
        part.startUtterance(0);
        UtteranceFrames frames;
        int over = -1;
        for (qsizetype f = 0; f < all.size() && over < 0; ++f) {
            frames.add(all.isSpeech(f), all.level(f));
            if (part.isOver(frames))
                over = int(f);
        }
        QCOMPARE(over, overAt);
    }
};

QTEST_GUILESS_MAIN(TestLoudPart)
#include "tst_loudpart.moc"
