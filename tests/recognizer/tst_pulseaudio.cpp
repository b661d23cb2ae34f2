#include "SpeechClips.h"
#include "recognizer/RecognizerSettings.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/PulseAudioSource.h"
#include "recognizer/audio/PulseAudioSources.h"
#include "recognizer/audio/SoundServerMessages.h"

#include <QCoreApplication>
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

    // Plays "sink|text" and waits until it has been played.
    void play(const QString &sinkAndText)
    {
        QString output;
        const QString clip =
            SpeechClips::clip(m_dir->path(), "espeak:en-us|" + sinkAndText.section('|', 1));
        QVERIFY2(client("paplay", {"--device=" + sinkAndText.section('|', 0, 0), clip}, &output),
                 qPrintable(output));
    }

    // What PulseAudioSources lists: the default's name, then each source as "name=description";
    // or "failed: " and the error.
    static QStringList listedSources()
    {
        QList<SoundSource> listed{{"stale", "stale"}};
        QString defaultName = "stale";
        QString error;
        if (!PulseAudioSources().list(&listed, &defaultName, &error))
            return {"failed: " + error};
        QStringList seen{defaultName};
        for (const SoundSource &source : std::as_const(listed))
            seen.append(source.name + "=" + source.description);
        return seen;
    }

    // withSinks: false starts a server that has no source at all.
    void startServer(bool withSinks = true)
    {
        QStringList args =
            QString("-n --daemonize=no --exit-idle-time=-1 --disallow-exit").split(' ');
        args += {"-L", "module-native-protocol-unix"};
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
        for (const QString tool : {"pulseaudio", "pactl", "paplay"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QFAIL(qPrintable("Missing " + tool +
                                 ": install the Debian packages pulseaudio pulseaudio-utils"));
        }
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        m_dir = std::make_unique<QTemporaryDir>();
        // The server, its clients and PulseAudioSource find each other through the runtime
        // directory; HOME keeps the server's cookie out of the user's files. With no server
        // running, a client must not start one of its own.
        qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
        qputenv("HOME", m_dir->path().toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        RecordFileBytes::write(path("client.conf"), "autospawn = no\n");
        qputenv("PULSE_CLIENTCONFIG", path("client.conf").toLocal8Bit());
        QCoreApplication::setOrganizationName("DuveVuvuraru");
        QCoreApplication::setApplicationName("jev");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path("settings"));
        startServer();

        m_grammar = path("temp.txt");
        RecordFileBytes::write(m_grammar,
                               "[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n"
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

    // The stored choice is heard, the default's sound is not; without a choice the stream goes
    // where the server's default goes. A chosen source that is gone gives a notice and the default,
    // and stays chosen for when it is back.
    void sourceHeard_data()
    {
        QTest::addColumn<QStringList>("choice"); // name, description; empty: none
        QTest::addColumn<QString>("newDefault"); // set while listening; empty: none
        QTest::addColumn<QStringList>("played"); // "sink|text"
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("the default")
            << QStringList() << QString() << QStringList{"kitchen|Notepad", "kitchen|select all"}
            << QStringList{"Notepad", "select all"} << QStringList();
        QTest::newRow("the chosen source")
            << QStringList{"study.monitor", "Monitor of Study"} << QString()
            << QStringList{"kitchen|Notepad", "study|select all"} << QStringList{"select all"}
            << QStringList();
        QTest::newRow("the default, followed when it changes")
            << QStringList() << "study.monitor" << QStringList{"study|page down"}
            << QStringList{"page down"} << QStringList();
        QTest::newRow("chosen source gone")
            << QStringList{"headset.monitor", "Old Headset"} << QString()
            << QStringList{"kitchen|Notepad"} << QStringList{"Notepad"}
            << QStringList{SoundServerMessages::chosenSourceGone("Old Headset")};
    }
    void sourceHeard()
    {
        QFETCH(QStringList, choice);
        QFETCH(QString, newDefault);
        QFETCH(QStringList, played);
        QFETCH(QStringList, heard);
        QFETCH(QStringList, notices);
        if (!choice.isEmpty())
            RecognizerSettings::setMicrophone({choice[0], choice[1]});
        auto recognizer = listener();
        QSignalSpy phrases(recognizer.get(), &Recognizer::PhraseRecognized);
        QSignalSpy levels(recognizer.get(), &Recognizer::LevelChanged);
        QSignalSpy noticed(recognizer.get(), &Recognizer::listeningNotice);
        QString error;
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        QCOMPARE(SpeechClips::phrases(noticed), notices);
        if (!newDefault.isEmpty())
            QVERIFY(client("pactl", {"set-default-source", newDefault}));
        for (const QString &sinkAndText : played)
            play(sinkAndText);
        QTRY_COMPARE_WITH_TIMEOUT(SpeechClips::phrases(phrases), heard, 5000);
        const int loudest = SpeechClips::loudest(levels);
        QVERIFY2(loudest > 1000, qPrintable(QString::number(loudest)));
        QCOMPARE(RecognizerSettings::microphone().name, choice.value(0));
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

    // By description, the default first, whichever it is.
    void sourcesListed()
    {
        QCOMPARE(listedSources(),
                 (QStringList{"kitchen.monitor", "kitchen.monitor=Monitor of Kitchen",
                              "study.monitor=Monitor of Study"}));
        QVERIFY(client("pactl", {"set-default-source", "study.monitor"}));
        QCOMPARE(listedSources(), (QStringList{"study.monitor", "study.monitor=Monitor of Study",
                                               "kitchen.monitor=Monitor of Kitchen"}));
    }

    // The server stops under a listening recognizer (killed, as by a crash, or restarted):
    // listening stops with a message, and no server is told as such while it is away. A server
    // that comes back with no source at all is told as such; the next activation listens to the
    // server once it has its sources again.
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
        QCOMPARE(listedSources(), QStringList{"failed: " + SoundServerMessages::noServer()});

        startServer(false);
        QVERIFY(!recognizer->Activate(&error));
        QCOMPARE(error, SoundServerMessages::noSource());
        const QStringList listed = listedSources(); // a default's name, no source
        QVERIFY2(listed.size() == 1 && !listed[0].startsWith("failed"),
                 qPrintable(listed.join('|')));

        stopServer();
        startServer();
        QVERIFY2(recognizer->Activate(&error), qPrintable(error));
        play("kitchen|select all");
        QTRY_COMPARE_WITH_TIMEOUT(SpeechClips::phrases(phrases), QStringList{"select all"}, 5000);
    }
};

QTEST_GUILESS_MAIN(TestPulseAudio)
#include "tst_pulseaudio.moc"
