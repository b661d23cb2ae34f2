#include "recognizer/SphinxEngine.h"
#include "recognizer/audio/WavReader.h"
#include "support/SynthesizedSpeech.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

// A command said while others talk more quietly is heard; the same words inside the user's own
// sentence, as loud as the rest of it, are not a command. Synthesized voices, real PocketSphinx.
class TestPhrasesInSpeech : public QObject
{
    Q_OBJECT

private:
    // "voice|text" spoken into 16 kHz samples, with no silence around.
    QList<qint16> spoken(const QString &piece)
    {
        const QString file = m_dir->path() + "/" +
                             QString(piece).replace(QRegularExpression("[^A-Za-z0-9]"), "_") +
                             ".wav";
        QString error;
        QList<qint16> samples;
        if (!SynthesizedSpeech::say(piece.section('|', 0, 0), piece.section('|', 1), file, &error,
                                    0, 0) ||
            !WavReader::read(file, &samples, &error))
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

    static QStringList heard(const QList<qint16> &speech, bool findInsideSpeech,
                             const QStringList &decoderArguments = {})
    {
        SphinxEngine::Options options;
        options.findInsideSpeech = findInsideSpeech;
        options.decoderArguments = decoderArguments;
        // Noise suppression throughout, as in a room whose background is loud.
        options.noisyRoomDb = 0;
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
        QStringList phrases;
        for (const SphinxEngine::Detection &d : std::as_const(detections))
            phrases.append(d.phrase);
        return phrases;
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void commandBesideOtherSpeech_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("talk");
        QTest::addColumn<double>("talkDb");
        QTest::addColumn<QStringList>("phrases");

        const QString news = "espeak:en-gb-scotland+m3|The boats leave the harbour before dawn "
                             "and return in the afternoon with their catch";
        QTest::newRow("alone") << "espeak:en-us|page down" << QString() << 0.0
                               << QStringList{"page down"};
        QTest::newRow("television 20 dB under the command")
            << "espeak:en-us|page down" << news << -20.0 << QStringList{"page down"};
        // The user's own sentence: the rest of it is as loud as the phrase.
        QTest::newRow("inside the user's sentence")
            << "espeak:en-us|then page down to the end of the list please" << QString() << 0.0
            << QStringList{};
        QTest::newRow("television as loud as the command")
            << "espeak:en-us|page down" << news << 0.0 << QStringList{};
    }

    void commandBesideOtherSpeech()
    {
        QFETCH(QString, command);
        QFETCH(QString, talk);
        QFETCH(double, talkDb);
        QFETCH(QStringList, phrases);
        const QList<qint16> said = spoken(command);
        QVERIFY(!said.isEmpty());
        // The command starts two seconds into the talk, which goes on after it.
        const QList<qint16> speech =
            talk.isEmpty() ? said : mixed(spoken(talk), talkDb, said, 2 * SphinxEngine::SampleRate);
        QCOMPARE(heard(speech, true), phrases);
    }

    // Without looking inside other speech, a command under a television is lost: the reason the
    // search looks there.
    void commandUnderTalkNeedsTheSearchInsideSpeech()
    {
        const QList<qint16> speech =
            mixed(spoken("espeak:en-gb-scotland+m3|The boats leave the harbour before dawn and "
                         "return in the afternoon with their catch"),
                  -20, spoken("espeak:en-us|page down"), 2 * SphinxEngine::SampleRate);
        QCOMPARE(heard(speech, false), QStringList{});
        QCOMPARE(heard(speech, true), QStringList{"page down"});
    }

    // Under louder talk the library's own beams drop the command before its end; the engine's
    // wider ones keep it.
    void commandUnderLouderTalkNeedsWideBeams()
    {
        const QList<qint16> speech =
            mixed(spoken("flite:awb|Our correspondent reports that the talks went on late into "
                         "the night without an agreement"),
                  -8, spoken("espeak:en-us+f3|close window"), 2 * SphinxEngine::SampleRate);
        QCOMPARE(heard(speech, true, {"-beam", "1e-48", "-pbeam", "1e-48", "-wbeam", "7e-29"}),
                 QStringList{});
        QCOMPARE(heard(speech, true), QStringList{"close window"});
    }
};

QTEST_GUILESS_MAIN(TestPhrasesInSpeech)
#include "tst_phrasesinspeech.moc"
