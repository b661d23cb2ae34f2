#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/PulseAudioSource.h"
#include "support/SynthesizedSpeech.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The microphone path through a real sound server: a PulseAudio server of the test's own, in a
// temporary runtime directory, with a null sink whose monitor is the default source. Speech
// played into the sink with paplay reaches the recognizer through PulseAudioSource.
class TestPulseAudio : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const { return m_dir->path() + "/" + name; }

    // Runs a PulseAudio client tool against the test's server; true when it succeeded.
    static bool client(const QString &program, const QStringList &args, QString *output = nullptr)
    {
        QProcess process;
        process.start(program, args);
        const bool ok = process.waitForFinished(20000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (output)
            *output = QString::fromLocal8Bit(process.readAllStandardOutput() +
                                             process.readAllStandardError());
        return ok;
    }

    QString clip(const QString &voice, const QString &text)
    {
        const QString out = path(QString(text).replace(' ', '_') + ".wav");
        QString error;
        if (!QFileInfo::exists(out) && !SynthesizedSpeech::say(voice, text, out, &error))
            qWarning().noquote() << error;
        return out;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_server;
    QString m_grammar;

private Q_SLOTS:
    void initTestCase()
    {
        QStringList missing;
        for (const char *tool : {"pulseaudio", "pactl", "paplay"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                missing.append(QLatin1String(tool));
        }
        if (!missing.isEmpty())
            QFAIL(qPrintable("Missing " + missing.join(' ') +
                             ": install the Debian packages pulseaudio pulseaudio-utils"));
        if (const QString tools = SynthesizedSpeech::missingTools(); !tools.isEmpty())
            QFAIL(qPrintable("The speech tests need speech synthesis: " + tools));
        m_dir = std::make_unique<QTemporaryDir>();
        // The server, its clients and PulseAudioSource find each other through the runtime
        // directory; HOME keeps the server's cookie out of the user's files.
        qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
        qputenv("HOME", m_dir->path().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1",
                                      "--disallow-exit", "-L", "module-native-protocol-unix", "-L",
                                      "module-null-sink sink_name=jev_test"});
        QVERIFY2(m_server.waitForStarted(10000), qPrintable(m_server.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(client("pactl", {"info"}), 15000);
        QVERIFY(client("pactl", {"set-default-sink", "jev_test"}));
        QVERIFY(client("pactl", {"set-default-source", "jev_test.monitor"}));

        m_grammar = path("temp.txt");
        QFile grammar(m_grammar);
        QVERIFY(grammar.open(QIODevice::WriteOnly));
        grammar.write("[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n"
                      "<start>=Notepad\r\n<start>=select all\r\n<start>=page down\r\n");
    }

    void cleanupTestCase()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }

    void speechPlayedIntoTheServerIsHeard()
    {
        const QStringList said = {"Notepad", "select all"};
        QStringList files;
        for (const QString &text : said)
            files.append(clip("espeak:en-us", text));
        SphinxRecognizer recognizer(std::make_unique<PulseAudioSource>());
        QString error;
        QVERIFY2(recognizer.LoadGrammarFile(m_grammar, &error), qPrintable(error));
        QSignalSpy phrases(&recognizer, &Recognizer::PhraseRecognized);
        QSignalSpy levels(&recognizer, &Recognizer::LevelChanged);
        QVERIFY2(recognizer.Activate(&error), qPrintable(error));
        for (qsizetype i = 0; i < files.size(); ++i) {
            QString output;
            QVERIFY2(client("paplay", {files[i]}, &output), qPrintable(output));
            QTRY_COMPARE_WITH_TIMEOUT(phrases.size(), i + 1, 5000);
            QCOMPARE(phrases.at(i).at(0).toString(), said[i]);
        }
        int loudest = 0;
        for (const QList<QVariant> &args : std::as_const(levels))
            loudest = qMax(loudest, args.at(0).toInt());
        QVERIFY2(loudest > 1000, qPrintable(QString::number(loudest)));
        recognizer.Deactivate();
    }

    void silenceFromTheServerIsNoCommand()
    {
        // Nothing plays: the monitor delivers digital silence, which is no speech.
        SphinxRecognizer recognizer(std::make_unique<PulseAudioSource>());
        QString error;
        QVERIFY2(recognizer.LoadGrammarFile(m_grammar, &error), qPrintable(error));
        QSignalSpy phrases(&recognizer, &Recognizer::PhraseRecognized);
        QSignalSpy levels(&recognizer, &Recognizer::LevelChanged);
        QVERIFY2(recognizer.Activate(&error), qPrintable(error));
        // Listening is under way once levels arrive; a second of them is heard out.
        QTRY_VERIFY_WITH_TIMEOUT(levels.size() >= 20, 5000);
        for (const QList<QVariant> &args : std::as_const(levels))
            QCOMPARE(args.at(0).toInt(), 0);
        QCOMPARE(phrases.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPulseAudio)
#include "tst_pulseaudio.moc"
