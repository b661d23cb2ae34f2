#include "GeneratedSound.h"
#include "recognizer/NoiseFloor.h"

#include <QTest>
#include <cmath>

using namespace GeneratedSound;

namespace {

// The floor-added frames of samples, frame by frame; frames of zeros as digital silence.
QList<qint16> floored(NoiseFloor &floor, const QList<qint16> &samples, bool digitalSilence)
{
    QList<qint16> out;
    for (qsizetype at = 0; at + NoiseFloor::FrameSamples <= samples.size();
         at += NoiseFloor::FrameSamples) {
        const qint16 *frame = floor.added(samples.constData() + at, digitalSilence);
        out.append(QList<qint16>(frame, frame + NoiseFloor::FrameSamples));
    }
    return out;
}

double rms(const QList<qint16> &samples)
{
    double sum = 0;
    for (const qint16 s : samples)
        sum += double(s) * s;
    return std::sqrt(sum / double(samples.size()));
}

} // namespace

// The quiet floor under the sound that the decoder hears.
class TestNoiseFloor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Zeros get a floor of their own, so the sound after them gets, sample for sample, the floor
    // it gets without them; a new stream gets the same floor again.
    void soundAfterZerosGetsTheSameFloor_data()
    {
        QTest::addColumn<int>("zerosMs");
        QTest::newRow("a frame of zeros") << 10;
        QTest::newRow("an odd number of frames") << 70;
        QTest::newRow("half a second") << 500;
    }
    void soundAfterZerosGetsTheSameFloor()
    {
        QFETCH(int, zerosMs);
        const QList<qint16> sound = noise(300, 500, 7);
        NoiseFloor plain;
        const QList<qint16> without = floored(plain, sound, false);
        NoiseFloor afterZeros;
        const QList<qint16> underZeros = floored(afterZeros, noise(zerosMs, 0), true);
        QCOMPARE(floored(afterZeros, sound, false), without);
        // The decoder never hears digital silence: the zeros are a quiet room's hiss.
        QVERIFY2(rms(underZeros) > 70 && rms(underZeros) < 130,
                 qPrintable(QString::number(rms(underZeros))));

        afterZeros.reset();
        QCOMPARE(floored(afterZeros, sound, false), without);
    }
};

QTEST_GUILESS_MAIN(TestNoiseFloor)
#include "tst_noisefloor.moc"
