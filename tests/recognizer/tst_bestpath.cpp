#include "recognizer/BestPath.h"

#include <QTest>

using Words = QList<BestPath::Word>;

// The measures by which a result found in speech is refused, on fixed paths.
class TestBestPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A phrase stretched over a longer sentence: its slowest word takes far more time a phone
    // than anyone speaks.
    void slowestPace_data()
    {
        QTest::addColumn<Words>("words");
        QTest::addColumn<double>("pace");

        QTest::newRow("no words") << Words{} << 0.0;
        QTest::newRow("one word") << Words{{10, 49, 4}} << 10.0;
        QTest::newRow("the slowest word decides")
            << Words{{0, 29, 3}, {30, 129, 4}, {130, 149, 2}} << 25.0;
        // A word whose phones are unknown tells nothing.
        QTest::newRow("unknown phones") << Words{{0, 299, 0}, {300, 319, 2}} << 10.0;
    }

    void slowestPace()
    {
        QFETCH(Words, words);
        QFETCH(double, pace);
        QCOMPARE(BestPath::slowestPace(words), pace);
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
};

QTEST_GUILESS_MAIN(TestBestPath)
#include "tst_bestpath.moc"
