#include "GeneratedSound.h"
#include "recognizer/VoiceGate.h"

#include <QTest>
#include <cmath>

namespace {

// ms of a 440 Hz tone whose RMS is rms.
QList<qint16> tone(int ms, double rms)
{
    return GeneratedSound::tone(ms, rms * std::sqrt(2.0));
}

void feed(VoiceGate &gate, const QList<qint16> &samples)
{
    for (qsizetype at = 0; at + VoiceGate::FrameSamples <= samples.size();
         at += VoiceGate::FrameSamples)
        gate.addFrame(samples.constData() + at);
}

} // namespace

// The level gate on generated sound: an utterance passes when its loudest 50 ms come near the
// user's voice level.
class TestVoiceGate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loudestMomentAgainstTheVoice_data()
    {
        QTest::addColumn<int>("voiceLevel");
        QTest::addColumn<double>("speechRms");
        QTest::addColumn<int>("speechMs");
        QTest::addColumn<double>("belowDb");
        QTest::addColumn<bool>("passes");
        QTest::newRow("as loud as the voice") << 3000 << 3000.0 << 300 << 0.0 << true;
        QTest::newRow("louder") << 3000 << 6000.0 << 300 << -6.02 << true;
        QTest::newRow("a little softer") << 3000 << 1500.0 << 300 << 6.02 << true;
        QTest::newRow("television across the room") << 3000 << 750.0 << 300 << 12.04 << false;
        // Shorter than the meter's 50 ms: only part of the window is loud.
        QTest::newRow("a click") << 3000 << 3000.0 << 20 << 3.98 << true;
        QTest::newRow("level unknown") << 0 << 100.0 << 300 << 0.0 << true;
    }
    void loudestMomentAgainstTheVoice()
    {
        QFETCH(int, voiceLevel);
        QFETCH(double, speechRms);
        QFETCH(int, speechMs);
        QFETCH(double, belowDb);
        QFETCH(bool, passes);
        VoiceGate gate;
        gate.setVoiceLevel(voiceLevel);
        gate.setMarginDb(6.1);
        feed(gate, tone(500, 20));
        gate.startUtterance();
        feed(gate, tone(speechMs, speechRms));
        feed(gate, tone(500, 20));
        QVERIFY2(std::abs(gate.belowVoiceDb() - belowDb) < 0.1,
                 qPrintable(QString::number(gate.belowVoiceDb())));
        QCOMPARE(gate.passes(), passes);
    }

    void eachUtteranceIsMeasuredOnItsOwn()
    {
        VoiceGate gate;
        gate.setVoiceLevel(3000);
        gate.setMarginDb(6);
        gate.startUtterance();
        feed(gate, tone(300, 3000));
        QVERIFY(gate.passes());
        feed(gate, tone(500, 20)); // the loud one is over
        gate.startUtterance();
        feed(gate, tone(300, 500));
        QVERIFY(!gate.passes());
        gate.reset();
        QVERIFY(!gate.passes()); // nothing heard yet
        QCOMPARE(gate.utterancePeak(), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestVoiceGate)
#include "tst_voicegate.moc"
