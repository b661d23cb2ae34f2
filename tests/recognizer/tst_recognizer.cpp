#include "SpeechClips.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/WavFileSource.h"
#include "recognizer/audio/WavReader.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace SpeechClips;

// A microphone that goes away after a few reads.
class VanishingSource : public AudioSource
{
public:
    bool open(QString *) override { return true; }
    bool read(qint16 *samples, int count, QString *error) override
    {
        std::fill(samples, samples + count, qint16(0));
        if (++m_reads < 5)
            return true;
        *error = QStringLiteral("the device was unplugged");
        return false;
    }
    void close() override {}

private:
    int m_reads = 0;
};

// The PocketSphinx recognizer on synthesized speech, through the interface the speech window
// uses: grammars written by the program's own grammar writer, WAV files as the microphone.
class TestRecognizer : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const { return m_dir->path() + "/" + name; }

    QString clip(const QString &piece, double lead = 0.5, double trail = 1.0)
    {
        return SpeechClips::clip(m_dir->path(), piece, lead, trail);
    }

    std::unique_ptr<SphinxRecognizer> recognizer(const QStringList &files, double speed)
    {
        return std::make_unique<SphinxRecognizer>(std::make_unique<WavFileSource>(files, speed));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_grammarA;
    QString m_grammarB;

private Q_SLOTS:
    void initTestCase()
    {
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        m_dir = std::make_unique<QTemporaryDir>();
        writeGrammar(path("a"), "XTerm \xA6 shell*Notepad~Editing$/usr/bin/xterm", "Editing",
                     {"Refresh Page:{F5}", "press F5:{F5}", "page down:{PGDN}", "page up:{PGUP}",
                      "open VLC:x", "Blimtrop:x", "launch Xterm:x", "select all:^a", "!!!:x"});
        writeGrammar(path("b"), "Calc \xA6 calc*Calculator~Editing$calc", "Editing",
                     {"zoom in:^+", "zoom out:^-"});
        writeGrammar(path("plain"), "Gedit \xA6 notes*editor~Edit$gedit", "Edit",
                     {"save file:^s", "page down:{PGDN}", "go back:%{LEFT}"});
        // A vocabulary that has the recognizer's own words, spelled its own way.
        writeGrammar(path("own words"), "Gedit \xA6 notes*editor~Edit$gedit", "Edit",
                     {"save file:^s", "Wake Up:^w", "Go to sleep!:^q"});
        m_grammarA = path("a/temp.txt");
        m_grammarB = path("b/temp.txt");
    }

    // Commands come back spelled as in the grammar, on the thread that listens; a sentence that
    // is none gives nothing; a two-word command with a 300 ms pause inside is one. The recognizer's
    // own phrases "go to sleep" and "wake up" are heard beside a grammar that lacks them or has
    // them spelled its own way (those phrases are left out with a warning, as "!!!", which cannot
    // be said, is). The grammar file is never written.
    void heard_data()
    {
        QTest::addColumn<QString>("grammar");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<int>("warnings");
        const auto said = [this](const QString &piece) { return QStringList{clip(piece)}; };
        QTest::newRow("application name, mixed case")
            << "a" << said("espeak:en-us|notepad") << QStringList{"Notepad"} << 1;
        QTest::newRow("mixed case phrase")
            << "a" << said("flite:slt|refresh page") << QStringList{"Refresh Page"} << 1;
        QTest::newRow("F5") << "a" << said("espeak:en-us|press F5") << QStringList{"press F5"} << 1;
        QTest::newRow("word missing from the dictionary")
            << "a" << said("flite:rms|Blimtrop") << QStringList{"Blimtrop"} << 1;
        QTest::newRow("letters") << "a" << said("espeak:en-us|open VLC") << QStringList{"open VLC"}
                                 << 1;
        // flite spells "Xterm" out, as many speakers do.
        QTest::newRow("name spelled out")
            << "a" << said("flite:slt|launch Xterm") << QStringList{"launch Xterm"} << 1;
        QTest::newRow("out-of-grammar sentence")
            << "a"
            << said("espeak:en-us|The weather was lovely when we walked to the harbour yesterday")
            << QStringList{} << 1;
        for (const QString voice : {"espeak:en-us", "flite:slt"}) {
            QTest::addRow("pause inside a command, %s", qPrintable(voice))
                << "a"
                << QStringList{clip(voice + "|page", 0.5, 0), clip("0.3"),
                               clip(voice + "|down", 0, 1)}
                << QStringList{"page down"} << 1;
        }
        const auto take = [this](QStringList pieces) {
            for (QString &piece : pieces)
                piece = clip(piece, 0.3, 0.6);
            return pieces << clip("1");
        };
        QTest::newRow("own phrases among commands")
            << "plain"
            << take({"espeak:en-us|go to sleep", "0.8", "espeak:en-us|save file", "0.8",
                     "flite:rms|wake up", "0.8", "flite:slt|go back"})
            << QStringList{"go to sleep", "save file", "wake up", "go back"} << 0;
        QTest::newRow("the vocabulary's own spelling gives way")
            << "own words" << take({"flite:slt|go to sleep", "0.8", "espeak:en-us|wake up"})
            << QStringList{"go to sleep", "wake up"} << 2;
    }
    void heard()
    {
        QFETCH(QString, grammar);
        QFETCH(QStringList, files);
        QFETCH(QStringList, heard);
        QFETCH(int, warnings);
        const QString grammarFile = path(grammar + "/temp.txt");
        const QByteArray before = RecordFileBytes::read(grammarFile);
        const QDateTime changed = QFileInfo(grammarFile).lastModified();
        auto r = recognizer(files, 3.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(grammarFile, &error), qPrintable(error));
        QCOMPARE(r->grammarWarnings().size(), warnings);
        QSignalSpy spy(r.get(), &Recognizer::PhraseRecognized);
        QThread *deliveredOn = nullptr;
        connect(r.get(), &Recognizer::PhraseRecognized, this,
                [&deliveredOn] { deliveredOn = QThread::currentThread(); });
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QCOMPARE(heardWhilePlaying(spy, files, 3.0), heard);
        QCOMPARE(deliveredOn, heard.isEmpty() ? nullptr : QThread::currentThread());
        QCOMPARE(RecordFileBytes::read(grammarFile), before);
        QCOMPARE(QFileInfo(grammarFile).lastModified(), changed);
    }

    // Listening goes on through a grammar reload, with the new grammar; Activate while listening
    // is harmless; after Deactivate (twice is harmless too) nothing more is told.
    void reloadWhileActiveThenDeactivate()
    {
        auto r =
            recognizer({clip("espeak:en-us|notepad"), clip("2.5"), clip("espeak:en-us|zoom in"),
                        clip("1"), clip("espeak:en-us|zoom out")},
                       2.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy spy(r.get(), &Recognizer::PhraseRecognized);
        QSignalSpy levels(r.get(), &Recognizer::LevelChanged);
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QVERIFY(r->Activate(&error));
        QTRY_COMPARE_WITH_TIMEOUT(phrases(spy), QStringList{"Notepad"}, 3000);
        QVERIFY2(r->LoadGrammarFile(m_grammarB, &error), qPrintable(error));
        QVERIFY(r->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(phrases(spy), (QStringList{"Notepad", "zoom in"}), 5000);
        r->Deactivate();
        r->Deactivate();
        QVERIFY(!r->isActive());
        const qsizetype levelsAtStop = levels.size();
        QTest::qWait(2500);
        QCOMPARE(phrases(spy), (QStringList{"Notepad", "zoom in"}));
        QCOMPARE(levels.size(), levelsAtStop);
    }

    void levelAboutTwentyTimesASecond()
    {
        auto r = recognizer({clip("espeak:en-us|refresh page", 0.5, 0.5)}, 1.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy levels(r.get(), &Recognizer::LevelChanged);
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QTest::qWait(2000);
        r->Deactivate();
        // Counted against the time that really passed: a busy machine may wake the test late.
        const double expected = clock.elapsed() / 50.0;
        QVERIFY2(levels.size() >= 0.7 * expected && levels.size() <= 1.1 * expected + 2,
                 qPrintable(QStringLiteral("%1 level events in %2 ms")
                                .arg(levels.size())
                                .arg(clock.elapsed())));
        const int loudest = SpeechClips::loudest(levels);
        QVERIFY(levels.at(0).at(0).toInt() < 20); // the leading silence
        QVERIFY2(loudest > 1000 && loudest < 20000, qPrintable(QString::number(loudest)));
    }

    void errorsTheCallerCanShow()
    {
        QString error;
        SpeechEngineOptions missingModel;
        missingModel.modelDir = "/nonexistent";
        auto noModel = std::make_unique<SphinxRecognizer>(
            std::make_unique<WavFileSource>(QStringList{}), missingModel);
        QVERIFY(!noModel->LoadGrammarFile(m_grammarA, &error));
        QVERIFY2(error.contains("pocketsphinx-en-us"), qPrintable(error));
        QVERIFY(!noModel->Activate(&error));
        QVERIFY2(error.contains("No grammar"), qPrintable(error));

        auto r = recognizer({path("a/VAppCmd.txt")}, 1.0);
        QVERIFY(!r->LoadGrammarFile(path("a/VAppCmd.txt"), &error));
        QVERIFY2(error.contains("not a recognition grammar"), qPrintable(error));
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QVERIFY(!r->Activate(&error)); // the "WAV" is the application list
        QVERIFY2(error.contains(path("a/VAppCmd.txt")) && error.contains("not a WAV"),
                 qPrintable(error));
        QVERIFY(!r->isActive());
    }

    void microphoneLostWhileListening()
    {
        SphinxRecognizer r(std::make_unique<VanishingSource>());
        QString error;
        QVERIFY2(r.LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy failed(&r, &Recognizer::listeningFailed);
        QVERIFY2(r.Activate(&error), qPrintable(error));
        QVERIFY(failed.wait(3000));
        QCOMPARE(failed.at(0).at(0).toString(), QString("the device was unplugged"));
        QVERIFY(!r.isActive());
    }

    void voiceLevelAskedAtActivate_data()
    {
        QTest::addColumn<double>("volume");     // of the spoken clip
        QTest::addColumn<double>("voiceLevel"); // times the clip's loudest level; 0: not set
        QTest::addColumn<bool>("heard");
        QTest::newRow("level not set") << 0.1 << 0.0 << true;
        QTest::newRow("said at the user's level") << 1.0 << 1.0 << true;
        QTest::newRow("a television far below the user") << 0.1 << 1.0 << false;
    }
    void voiceLevelAskedAtActivate()
    {
        QFETCH(double, volume);
        QFETCH(double, voiceLevel);
        QFETCH(bool, heard);
        const QString loud = clip("espeak:en-us|select all");
        const QString file = path(QString("select_all_at_%1.wav").arg(volume));
        QString error;
        QVERIFY2(
            SynthesizedSpeech::run("sox", {loud, file, "vol", QString::number(volume)}, &error),
            qPrintable(error));
        QList<qint16> samples;
        QVERIFY2(WavReader::read(loud, &samples, &error), qPrintable(error));
        const int loudest = SpeechClips::loudest(samples);
        int asked = 0;
        SphinxRecognizer r(std::make_unique<WavFileSource>(QStringList{file}, 3.0), {},
                           [&asked, level = qRound(loudest * voiceLevel)] {
                               ++asked;
                               return level;
                           });
        QVERIFY2(r.LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy spy(&r, &Recognizer::PhraseRecognized);
        QVERIFY2(r.Activate(&error), qPrintable(error));
        QCOMPARE(asked, 1);
        QCOMPARE(heardWhilePlaying(spy, {file}, 3.0),
                 heard ? QStringList{"select all"} : QStringList{});
    }

    // `jev recognize` prints each file's phrases with the time to the event; a file that cannot be
    // used is named with the reason, and the files after it are still heard.
    void recognizeCommandLine()
    {
        const QString a = clip("flite:slt|select all");
        const QString b = clip("flite:rms|page up");
        const QString cut = path("cut.wav");
        RecordFileBytes::write(cut, RecordFileBytes::read(a).chopped(10000));
        QProcess jev;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", path("config"));
        jev.setProcessEnvironment(env);
        jev.start(JEV_BINARY, {"--data-dir", path("a"), "recognize", a, cut, b});
        QVERIFY(jev.waitForFinished(30000));
        QCOMPARE(jev.exitCode(), 1);
        const QString said = QString::fromUtf8(jev.readAllStandardError());
        QVERIFY2(said.contains("The sound file " + cut + " cannot be used: ") &&
                     said.contains("promises"),
                 qPrintable(said));
        const QStringList lines =
            QString::fromUtf8(jev.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QStringList first = lines[0].split('\t');
        QCOMPARE(first.mid(0, 2), (QStringList{a, "select all"}));
        QCOMPARE(lines[1].section('\t', 0, 1), b + "\tpage up");
        bool isNumber = false;
        const int ms = first.value(2).toInt(&isNumber);
        QVERIFY(isNumber && ms > 0 && ms < 1000);
    }
};

QTEST_GUILESS_MAIN(TestRecognizer)
#include "tst_recognizer.moc"
