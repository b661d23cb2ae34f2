#include "GeneratedSound.h"
#include "recognizer/InputCheck.h"

#include <QTest>

using Condition = Recognizer::InputCondition;
Q_DECLARE_METATYPE(Condition)

namespace {

// ms of a sine of the given peak (0: digital silence); clippedPerStep samples of each 50 ms
// step are put at the limit of 16 bits.
QList<qint16> sound(int ms, int peak, int clippedPerStep = 0)
{
    QList<qint16> samples = GeneratedSound::tone(ms, peak, 200);
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (i % InputCheck::WindowSamples < clippedPerStep)
            samples[i] = i % 2 ? qint16(-32768) : qint16(32767);
    }
    return samples;
}

} // namespace

// What the level meter is told about the input: nearly nothing for a few seconds is too quiet,
// a clipped moment is too loud at once and stays told for a few seconds.
class TestInputCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void condition_data()
    {
        QTest::addColumn<QList<QList<int>>>("pieces"); // ms, peak, clipped samples per 50 ms
        QTest::addColumn<Condition>("after");
        QTest::newRow("speech") << QList<QList<int>>{{4000, 8000, 0}} << Condition::Normal;
        QTest::newRow("silence under the hold time")
            << QList<QList<int>>{{2900, 0, 0}} << Condition::Normal;
        QTest::newRow("silence for the hold time")
            << QList<QList<int>>{{3000, 0, 0}} << Condition::TooQuiet;
        QTest::newRow("a quiet room's noise is no muted microphone")
            << QList<QList<int>>{{5000, 60, 0}} << Condition::Normal;
        QTest::newRow("nearly nothing") << QList<QList<int>>{{5000, 20, 0}} << Condition::TooQuiet;
        QTest::newRow("speech after silence")
            << QList<QList<int>>{{5000, 0, 0}, {50, 3000, 0}} << Condition::Normal;
        QTest::newRow("clipped") << QList<QList<int>>{{50, 8000, 3}} << Condition::Clipping;
        QTest::newRow("one honest full-scale sample a step")
            << QList<QList<int>>{{2000, 30000, 1}} << Condition::Normal;
        QTest::newRow("clipping still told after the hold time less a step")
            << QList<QList<int>>{{50, 8000, 5}, {2900, 3000, 0}} << Condition::Clipping;
        QTest::newRow("clipping over after the hold time")
            << QList<QList<int>>{{50, 8000, 5}, {3000, 3000, 0}} << Condition::Normal;
        QTest::newRow("clipping wins over silence")
            << QList<QList<int>>{{50, 0, 5}, {2950, 0, 0}} << Condition::Clipping;
        QTest::newRow("silence after clipping is too quiet at the hold time")
            << QList<QList<int>>{{50, 0, 5}, {3100, 0, 0}} << Condition::TooQuiet;
    }
    void condition()
    {
        QFETCH(QList<QList<int>>, pieces);
        QFETCH(Condition, after);
        InputCheck check;
        int changes = 0;
        for (const QList<int> &piece : pieces) {
            const QList<qint16> samples = sound(piece[0], piece[1], piece[2]);
            // In reads of 20 ms, as the recognizer reads.
            for (qsizetype i = 0; i < samples.size(); i += 320)
                changes += check.add(samples.constData() + i,
                                     int(qMin<qsizetype>(320, samples.size() - i)));
        }
        QCOMPARE(check.condition(), after);
        QVERIFY(changes <= 2);
        QCOMPARE(changes > 0, after != Condition::Normal || pieces.size() > 1);
        check.reset();
        QCOMPARE(check.condition(), Condition::Normal);
    }
};

QTEST_GUILESS_MAIN(TestInputCheck)
#include "tst_inputcheck.moc"
