#include "recognizer/SpeechStretch.h"

#include <QTest>

// Which utterances go on from the last one, and which start inside speech that an utterance cut
// off at its longest left going on. Positions in milliseconds; the class counts in any unit.
class TestSpeechStretch : public QObject
{
    Q_OBJECT

    // "start-end" per utterance, "c" after it when it was cut off, "R" a new stream. Returns
    // whether the last utterance went on from the one before.
    static bool play(SpeechStretch *stretch, const QString &utterances)
    {
        bool goesOn = false;
        for (const QString &u : utterances.split(' ')) {
            if (u == "R") {
                stretch->reset();
                continue;
            }
            const QStringList bounds = QString(u).remove('c').split('-');
            goesOn = stretch->startUtterance(bounds[0].toLongLong());
            stretch->endUtterance(bounds[1].toLongLong(), u.endsWith('c')
                                                              ? SpeechStretch::Ending::CutOff
                                                              : SpeechStretch::Ending::Over);
        }
        return goesOn;
    }

private Q_SLOTS:
    void startsInsideSpeech_data()
    {
        QTest::addColumn<QString>("utterances");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("inside"); // of the last utterance

        QTest::newRow("first of a stream") << "0-8000c" << false << false;
        QTest::newRow("right after a cut") << "0-8000c 8000-9300" << true << true;
        QTest::newRow("a pause after a cut") << "0-8000c 9000-10000" << false << false;
        QTest::newRow("a cut twice") << "0-8000c 8000-16000c 16000-17000" << true << true;
        // Two commands said quickly one after the other: one stretch, the second a command still.
        QTest::newRow("soon after a pause") << "0-1000 1400-2000" << true << false;
        QTest::newRow("after the one that started inside")
            << "0-8000c 8000-9000 9300-10000" << true << false;
        QTest::newRow("a new stream after a cut") << "0-8000c R 8000-9000" << false << false;
    }

    void startsInsideSpeech()
    {
        QFETCH(QString, utterances);
        QFETCH(bool, goesOn);
        QFETCH(bool, inside);
        SpeechStretch stretch(700, 1500);
        QCOMPARE(play(&stretch, utterances), goesOn);
        QCOMPARE(stretch.startsInsideSpeech(), inside);
    }

    // Talk is a stretch longer than its mark; how long ago it was heard is kept across
    // utterances that are not talk.
    void talkHeard_data()
    {
        QTest::addColumn<QString>("utterances");
        QTest::addColumn<qint64>("at");
        QTest::addColumn<bool>("talkWithin2s");

        QTest::newRow("a short command") << "0-1000" << qint64(1500) << false;
        QTest::newRow("a long stretch") << "0-1000 1200-2000" << qint64(2500) << true;
        QTest::newRow("long ago") << "0-1000 1200-2000" << qint64(4500) << false;
        QTest::newRow("a command after talk") << "0-2000 5000-5500" << qint64(3500) << true;
        QTest::newRow("forgotten in a new stream") << "0-2000 R" << qint64(2500) << false;
    }

    void talkHeard()
    {
        QFETCH(QString, utterances);
        QFETCH(qint64, at);
        QFETCH(bool, talkWithin2s);
        SpeechStretch stretch(700, 1500);
        play(&stretch, utterances);
        QCOMPARE(stretch.talkHeardWithin(at, 2000), talkWithin2s);
    }
};

QTEST_GUILESS_MAIN(TestSpeechStretch)
#include "tst_speechstretch.moc"
