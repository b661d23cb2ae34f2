#include "recognizer/RecognizerSettings.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/PulseAudioSource.h"
#include "recognizer/audio/PulseAudioSources.h"
#include "recognizer/audio/SoundServerMessages.h"
#include "support/SynthesizedSpeech.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The microphone path through a real sound server: a PulseAudio server of the test's own, in a
// temporary runtime directory, with two null sinks ("Kitchen", the default, and "Study") whose
// monitors are the sources. Speech played into a sink with paplay reaches the recognizer through
// PulseAudioSource when it listens to that sink's monitor.
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

    QString clip(const QString &text)
    {
        const QString out = path(QString(text).replace(' ', '_') + ".wav");
        QString error;
        if (!QFileInfo::exists(out) && !SynthesizedSpeech::say("espeak:en-us", text, out, &error))
            qWarning().noquote() << error;
        return out;
    }

    // Plays a phrase into a sink and waits until it has been played.
    void play(const QString &text, const QString &sink = "kitchen")
    {
        QString output;
        QVERIFY2(client("paplay", {"--device=" + sink, clip(text)}, &output), qPrintable(output));
    }

    // withSinks: false starts a server that has no source at all.
    void startServer(bool withSinks = true)
    {
        QStringList args{"-n",
                         "--daemonize=no",
                         "--exit-idle-time=-1",
                         "--disallow-exit",
                         "-L",
                         "module-native-protocol-unix"};
        if (withSinks) {
            args += {"-L",
                     "module-null-sink sink_name=kitchen "
                     "sink_properties=device.description=Kitchen",
                     "-L",
                     "module-null-sink sink_name=study "
                     "sink_properties=device.description=Study"};
        }
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start("pulseaudio", args);
        QVERIFY2(m_server.waitForStarted(10000), qPrintable(m_server.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(client("pactl", {"info"}), 15000);
        if (withSinks) {
            QVERIFY(client("pactl", {"set-default-sink", "kitchen"}));
            QVERIFY(client("pactl", {"set-default-source", "kitchen.monitor"}));
        }
    }

    void stopServer()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
        m_server.waitForFinished(5000);
    }

    // A recognizer that listens to the microphone stored in the settings, as the program does.
    std::unique_ptr<SphinxRecognizer> listener()
    {
        auto recognizer = std::make_unique<SphinxRecognizer>(
            std::make_unique<PulseAudioSource>(&RecognizerSettings::microphone));
        QString error;
        if (!recognizer->LoadGrammarFile(m_grammar, &error))
            qWarning().noquote() << error;
        return recognizer;
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
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        m_dir = std::make_unique<QTemporaryDir>();
        // The server, its clients and PulseAudioSource find each other through the runtime
        // directory; HOME keeps the server's cookie out of the user's files. With no server
        // running, a client must not start one of its own.
        qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
        qputenv("HOME", m_dir->path().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        QFile clientConfig(path("client.conf"));
        QVERIFY(clientConfig.open(QIODevice::WriteOnly));
        clientConfig.write("autospawn = no\n");
        clientConfig.close();
        qputenv("PULSE_CLIENTCONFIG", path("client.conf").toLocal8Bit());
        QCoreApplication::setOrganizationName("DuveVuvuraru");
        QCoreApplication::setApplicationName("jev");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path("settings"));
        startServer();

        m_grammar = path("temp.txt");
        QFile grammar(m_grammar);
        QVERIFY(grammar.open(QIODevice::WriteOnly));
        grammar.write("[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n"
                      "<start>=Notepad\r\n<start>=select all\r\n<start>=page down\r\n");
    }

    void init()
    {
        RecognizerSettings::setMicrophone({});
        if (m_server.state() == QProcess::NotRunning)
            startServer();
        QVERIFY(client("pactl", {"set-default-source", "kitchen.monitor"}));
    }

    void cleanupTestCase() { stopServer(); }

    void speechPlayedIntoTheServerIsHeard()
    {
        const QStringList said = {"Notepad", "select all"};
        auto recognizer = listener();
        QSignalSpy phrases(recognizer.get(), &Recognizer::PhraseRecognized);
        QSignalSpy levels(recognizer.get(), &Recognizer::LevelChanged);
        QString error;
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        for (qsizetype i = 0; i < said.size(); ++i) {
            play(said[i]);
            QTRY_COMPARE_WITH_TIMEOUT(phrases.size(), i + 1, 5000);
            QCOMPARE(phrases.at(i).at(0).toString(), said[i]);
        }
        int loudest = 0;
        for (const QList<QVariant> &args : std::as_const(levels))
            loudest = qMax(loudest, args.at(0).toInt());
        QVERIFY2(loudest > 1000, qPrintable(QString::number(loudest)));
        recognizer->Deactivate();
    }

    void silenceFromTheServerIsNoCommand()
    {
        // Nothing plays: the monitor delivers digital silence, which is no speech, and after a
        // few seconds of it the input counts as too quiet.
        auto recognizer = listener();
        QSignalSpy phrases(recognizer.get(), &Recognizer::PhraseRecognized);
        QSignalSpy levels(recognizer.get(), &Recognizer::LevelChanged);
        QSignalSpy condition(recognizer.get(), &Recognizer::inputConditionChanged);
        QString error;
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(condition.size(), 1, 6000);
        QCOMPARE(condition.at(0).at(0).value<Recognizer::InputCondition>(),
                 Recognizer::InputCondition::TooQuiet);
        QVERIFY(levels.size() >= 40);
        for (const QList<QVariant> &args : std::as_const(levels))
            QCOMPARE(args.at(0).toInt(), 0);
        QCOMPARE(phrases.size(), 0);
        recognizer->Deactivate();
        QCOMPARE(condition.size(), 2);
        QCOMPARE(condition.at(1).at(0).value<Recognizer::InputCondition>(),
                 Recognizer::InputCondition::Normal);
    }

    void sourcesListedByDescription()
    {
        PulseAudioSources sources;
        QList<SoundSource> listed;
        QString defaultName;
        QString error;
        QVERIFY2(sources.list(&listed, &defaultName, &error), qPrintable(error));
        QCOMPARE(defaultName, QString("kitchen.monitor"));
        QStringList seen;
        for (const SoundSource &source : std::as_const(listed))
            seen.append(source.name + "=" + source.description);
        QCOMPARE(seen, QStringList({"kitchen.monitor=Monitor of Kitchen",
                                    "study.monitor=Monitor of Study"}));

        // The default comes first, whichever it is.
        QVERIFY(client("pactl", {"set-default-source", "study.monitor"}));
        QVERIFY2(sources.list(&listed, &defaultName, &error), qPrintable(error));
        QCOMPARE(defaultName, QString("study.monitor"));
        QCOMPARE(listed.value(0).name, QString("study.monitor"));
        QCOMPARE(listed.size(), 2);
    }

    // The stored choice is what is heard; the default's sound is not.
    void chosenSourceIsHeard()
    {
        RecognizerSettings::setMicrophone({"study.monitor", "Monitor of Study"});
        auto recognizer = listener();
        QSignalSpy phrases(recognizer.get(), &Recognizer::PhraseRecognized);
        QSignalSpy notices(recognizer.get(), &Recognizer::listeningNotice);
        QString error;
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        play("Notepad", "kitchen");
        play("select all", "study");
        QTRY_COMPARE_WITH_TIMEOUT(phrases.size(), 1, 5000);
        QCOMPARE(phrases.at(0).at(0).toString(), QString("select all"));
        QCOMPARE(notices.size(), 0);
    }

    // Without a choice the stream goes where the server's default goes.
    void defaultFollowedWhenItChanges()
    {
        auto recognizer = listener();
        QSignalSpy phrases(recognizer.get(), &Recognizer::PhraseRecognized);
        QString error;
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        QVERIFY(client("pactl", {"set-default-source", "study.monitor"}));
        play("page down", "study");
        QTRY_COMPARE_WITH_TIMEOUT(phrases.size(), 1, 5000);
        QCOMPARE(phrases.at(0).at(0).toString(), QString("page down"));
    }

    void chosenSourceGoneFallsBackToTheDefault()
    {
        RecognizerSettings::setMicrophone({"headset.monitor", "Old Headset"});
        auto recognizer = listener();
        QSignalSpy phrases(recognizer.get(), &Recognizer::PhraseRecognized);
        QSignalSpy notices(recognizer.get(), &Recognizer::listeningNotice);
        QString error;
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices.at(0).at(0).toString(),
                 SoundServerMessages::chosenSourceGone("Old Headset"));
        play("Notepad", "kitchen");
        QTRY_COMPARE_WITH_TIMEOUT(phrases.size(), 1, 5000);
        QCOMPARE(phrases.at(0).at(0).toString(), QString("Notepad"));
        // The choice stays: it is used again once the source is back.
        QCOMPARE(RecognizerSettings::microphone().name, QString("headset.monitor"));
    }

    // The server stops under a listening recognizer (killed, as by a crash, or restarted):
    // listening stops with a message, no server is told as such while it is away, and the next
    // activation listens to the new server.
    void serverRestartedWhileListening()
    {
        auto recognizer = listener();
        QSignalSpy failed(recognizer.get(), &Recognizer::listeningFailed);
        QSignalSpy phrases(recognizer.get(), &Recognizer::PhraseRecognized);
        QString error;
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        m_server.kill();
        QVERIFY(m_server.waitForFinished(5000));
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
        QCOMPARE(failed.at(0).at(0).toString(), SoundServerMessages::serverStopped());
        QVERIFY(!recognizer->isActive());

        QVERIFY(!recognizer->Activate(&error));
        QCOMPARE(error, SoundServerMessages::noServer());
        PulseAudioSources sources;
        QList<SoundSource> listed;
        QString defaultName;
        QVERIFY(!sources.list(&listed, &defaultName, &error));
        QCOMPARE(error, SoundServerMessages::noServer());

        startServer();
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        play("select all");
        QTRY_COMPARE_WITH_TIMEOUT(phrases.size(), 1, 5000);
        QCOMPARE(phrases.at(0).at(0).toString(), QString("select all"));
    }

    void serverWithoutSources()
    {
        stopServer();
        startServer(false);
        auto recognizer = listener();
        QString error;
        QVERIFY(!recognizer->Activate(&error));
        QCOMPARE(error, SoundServerMessages::noSource());
        PulseAudioSources sources;
        QList<SoundSource> listed{{"x", "y"}};
        QString defaultName = "x";
        QVERIFY2(sources.list(&listed, &defaultName, &error), qPrintable(error));
        QVERIFY(listed.isEmpty());
        stopServer(); // the next test starts one with sinks
    }
};

QTEST_GUILESS_MAIN(TestPulseAudio)
#include "tst_pulseaudio.moc"
