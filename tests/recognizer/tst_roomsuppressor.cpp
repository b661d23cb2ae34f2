#include "GeneratedSound.h"
#include "recognizer/RoomSuppressor.h"

#include <QTest>

using GeneratedSound::noise;

namespace {

using Level = NoiseSuppressor::Level;
constexpr qsizetype kFrame = RoomSuppressor::FrameSamples;
constexpr double kNoisyRoomDb = 45;

// What one suppressor at that level makes of the whole stream.
QList<qint16> suppressed(const QList<qint16> &input, Level level)
{
    NoiseSuppressor suppressor(level);
    QList<qint16> output = input;
    for (qsizetype i = 0; i + kFrame <= output.size(); i += kFrame)
        suppressor.process(output.data() + i);
    return output;
}

} // namespace

class TestRoomSuppressor : public QObject
{
    Q_OBJECT

private slots:
    void levelFollowsTheRoom_data()
    {
        QTest::addColumn<double>("noisyRoomDb");
        QTest::addColumn<double>("laterRms");
        QTest::addColumn<bool>("judgedLater");
        QTest::addColumn<bool>("noisy");

        // The stream starts in a quiet room (RMS 20, 26 dB); 4 s later the sound is laterRms.
        QTest::newRow("quiet room") << kNoisyRoomDb << 20.0 << true << false;
        QTest::newRow("fan switched on") << kNoisyRoomDb << 1000.0 << true << true;
        QTest::newRow("fan switched on during an utterance")
            << kNoisyRoomDb << 1000.0 << false << false;
        QTest::newRow("every room noisy") << 0.0 << 20.0 << true << true;
    }

    void levelFollowsTheRoom()
    {
        QFETCH(double, noisyRoomDb);
        QFETCH(double, laterRms);
        QFETCH(bool, judgedLater);
        QFETCH(bool, noisy);

        const QList<qint16> first = noise(1000, 20, 1);
        const QList<qint16> input = first + noise(4000, laterRms, 2);
        RoomSuppressor room(Level::Low, Level::Moderate, noisyRoomDb);
        QList<qint16> output(input.size());
        for (qsizetype i = 0; i + kFrame <= input.size(); i += kFrame)
            room.process(input.constData() + i, output.data() + i, i < first.size() || judgedLater);
        QCOMPARE(room.isNoisyRoom(), noisy);

        // The last second is what the suppressor of the room's level makes of the whole stream.
        const qsizetype lastSecond = input.size() - 100 * kFrame;
        const QList<qint16> expected = suppressed(input, noisy ? Level::Moderate : Level::Low);
        const QList<qint16> other = suppressed(input, noisy ? Level::Low : Level::Moderate);
        QVERIFY(other.mid(lastSecond) != expected.mid(lastSecond));
        QCOMPARE(output.mid(lastSecond), expected.mid(lastSecond));
    }

    void newStreamLearnsTheRoomAnew()
    {
        // After a noisy stream, a quiet one is cleaned as by a suppressor that never heard the
        // fan: nothing of the old noise or room is left.
        const QList<qint16> fan = noise(2000, 1000, 3);
        const QList<qint16> quiet = noise(2000, 20, 4);
        RoomSuppressor room(Level::Low, Level::Moderate, kNoisyRoomDb);
        RoomSuppressor fresh(Level::Low, Level::Moderate, kNoisyRoomDb);
        QList<qint16> output(kFrame);
        for (qsizetype i = 0; i + kFrame <= fan.size(); i += kFrame)
            room.process(fan.constData() + i, output.data(), true);
        QVERIFY(room.isNoisyRoom());
        room.reset();
        QList<qint16> expected(kFrame);
        for (qsizetype i = 0; i + kFrame <= quiet.size(); i += kFrame) {
            room.process(quiet.constData() + i, output.data(), false);
            fresh.process(quiet.constData() + i, expected.data(), false);
            QCOMPARE(output, expected);
        }
        QVERIFY(!room.isNoisyRoom());
    }
};

QTEST_GUILESS_MAIN(TestRoomSuppressor)
#include "tst_roomsuppressor.moc"
