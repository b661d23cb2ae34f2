#include "data/CFile.h"
#include "data/MemoryListBox.h"
#include "recognizer/LevelMeter.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/PulseAudioSource.h"
#include "recognizer/audio/WavFileSource.h"
#include "recognizer/audio/WavReader.h"
#include "support/RecordFileBytes.h"
#include "support/SynthesizedSpeech.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

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

    // A data directory whose temp.txt is written by CFile::TempLoad.
    void writeGrammar(const QString &dir, const QList<QByteArray> &apps,
                      const QList<QByteArray> &words)
    {
        RecordFileBytes::write(dir + "/VAppCmd.txt", RecordFileBytes::file(apps, 270));
        RecordFileBytes::write(dir + "/vocab/Editing.txt", RecordFileBytes::file(words, 128));
        QString error;
        QVERIFY2(CFile(dir).TempLoad(MemoryListBox({"Editing"}), &error), qPrintable(error));
    }

    QString clip(const QString &voice, const QString &text, double lead = 0.5, double trail = 1.0)
    {
        const QString out = path(
            QString(voice + "_" + text).replace(QRegularExpression("[^A-Za-z0-9]"), "_") + ".wav");
        QString error;
        if (!QFileInfo::exists(out) &&
            !SynthesizedSpeech::say(voice, text, out, &error, lead, trail))
            qWarning().noquote() << error;
        return out;
    }

    QString silence(double seconds)
    {
        const QString out = path(QString("silence%1.wav").arg(seconds));
        QString error;
        if (!QFileInfo::exists(out) && !SynthesizedSpeech::silence(seconds, out, &error))
            qWarning().noquote() << error;
        return out;
    }

    std::unique_ptr<SphinxRecognizer> recognizer(const QStringList &files, double speed)
    {
        return std::make_unique<SphinxRecognizer>(std::make_unique<WavFileSource>(files, speed));
    }

    // Collects the phrases until the files have played (at speed) and a little more.
    static QStringList phrasesHeard(QSignalSpy &spy, double seconds)
    {
        QTest::qWait(int(seconds * 1000) + 1200);
        QStringList phrases;
        for (const QList<QVariant> &args : std::as_const(spy))
            phrases.append(args.at(0).toString());
        return phrases;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_grammarA;
    QString m_grammarB;

private Q_SLOTS:
    void initTestCase()
    {
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        m_dir = std::make_unique<QTemporaryDir>();
        writeGrammar(path("a"), {"XTerm \xA6 shell*Notepad~Editing$/usr/bin/xterm"},
                     {"Refresh Page:{F5}", "press F5:{F5}", "page down:{PGDN}", "page up:{PGUP}",
                      "open VLC:x", "Blimtrop:x", "launch Xterm:x", "select all:^a", "!!!:x"});
        writeGrammar(path("b"), {"Calc \xA6 calc*Calculator~Editing$calc"},
                     {"zoom in:^+", "zoom out:^-"});
        m_grammarA = path("a/temp.txt");
        m_grammarB = path("b/temp.txt");
    }

    void commandsComeBackSpelledAsInTheGrammar_data()
    {
        QTest::addColumn<QString>("voice");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("application name, mixed case") << "espeak:en-us"
                                                      << "notepad"
                                                      << "Notepad";
        QTest::newRow("mixed case phrase") << "flite:slt"
                                           << "refresh page"
                                           << "Refresh Page";
        QTest::newRow("F5") << "espeak:en-us"
                            << "press F5"
                            << "press F5";
        QTest::newRow("word missing from the dictionary") << "flite:rms"
                                                          << "Blimtrop"
                                                          << "Blimtrop";
        QTest::newRow("letters") << "espeak:en-us"
                                 << "open VLC"
                                 << "open VLC";
        // flite spells "Xterm" out, as many speakers do.
        QTest::newRow("name spelled out") << "flite:slt"
                                          << "launch Xterm"
                                          << "launch Xterm";
    }
    void commandsComeBackSpelledAsInTheGrammar()
    {
        QFETCH(QString, voice);
        QFETCH(QString, spoken);
        QFETCH(QString, phrase);
        const QString file = clip(voice, spoken);
        auto r = recognizer({file}, 3.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QCOMPARE(r->grammarWarnings().size(), 1); // "!!!" cannot be said
        QSignalSpy spy(r.get(), &Recognizer::PhraseRecognized);
        QThread *deliveredOn = nullptr;
        connect(r.get(), &Recognizer::PhraseRecognized, this,
                [&deliveredOn] { deliveredOn = QThread::currentThread(); });
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QCOMPARE(phrasesHeard(spy, 3.0 / 3.0), QStringList{phrase});
        QCOMPARE(deliveredOn, QThread::currentThread());
    }

    void outOfGrammarSentenceGivesNoEvent()
    {
        const QString file =
            clip("espeak:en-us", "The weather was lovely when we walked to the harbour yesterday");
        auto r = recognizer({file}, 3.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy spy(r.get(), &Recognizer::PhraseRecognized);
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QCOMPARE(phrasesHeard(spy, 6.5 / 3.0), QStringList{});
    }

    void pauseInsideATwoWordCommand_data()
    {
        QTest::addColumn<QString>("voice");
        QTest::newRow("espeak-ng") << "espeak:en-us";
        QTest::newRow("flite") << "flite:slt";
    }
    void pauseInsideATwoWordCommand()
    {
        QFETCH(QString, voice);
        const QString file = path(QString(voice).replace(':', '_') + "_page_pause_down.wav");
        QString error;
        QVERIFY2(SynthesizedSpeech::concatenate(
                     {clip(voice, "page", 0.5, 0.0), silence(0.3), clip(voice, "down", 0.0, 1.0)},
                     file, &error),
                 qPrintable(error));
        auto r = recognizer({file}, 2.0);
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy spy(r.get(), &Recognizer::PhraseRecognized);
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QCOMPARE(phrasesHeard(spy, 2.5 / 2.0), QStringList{"page down"});
    }

    void reloadWhileActiveSwitchesGrammar()
    {
        auto r = recognizer(
            {clip("espeak:en-us", "notepad"), silence(2.5), clip("espeak:en-us", "zoom in")}, 2.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy spy(r.get(), &Recognizer::PhraseRecognized);
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QVERIFY(spy.wait(3000));
        QCOMPARE(spy.at(0).at(0).toString(), QString("Notepad"));
        QVERIFY2(r->LoadGrammarFile(m_grammarB, &error), qPrintable(error));
        QVERIFY(r->isActive());
        QCOMPARE(phrasesHeard(spy, 3.0 / 2.0), (QStringList{"Notepad", "zoom in"}));
    }

    void deactivateStopsEvents()
    {
        auto r = recognizer(
            {clip("espeak:en-us", "notepad"), silence(1.0), clip("espeak:en-us", "select all")},
            2.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QSignalSpy phrases(r.get(), &Recognizer::PhraseRecognized);
        QSignalSpy levels(r.get(), &Recognizer::LevelChanged);
        QVERIFY2(r->Activate(&error), qPrintable(error));
        QVERIFY(r->Activate(&error)); // already listening: harmless
        QVERIFY(phrases.wait(3000));
        r->Deactivate();
        r->Deactivate();
        QVERIFY(!r->isActive());
        const qsizetype levelsAtStop = levels.size();
        QTest::qWait(2500);
        QCOMPARE(phrases.size(), 1);
        QCOMPARE(levels.size(), levelsAtStop);
    }

    void levelAboutTwentyTimesASecond()
    {
        auto r = recognizer({clip("espeak:en-us", "refresh page", 0.5, 0.5)}, 1.0);
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
        int loudest = 0;
        for (const QList<QVariant> &args : std::as_const(levels))
            loudest = qMax(loudest, args.at(0).toInt());
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
        QVERIFY(!r->LoadGrammarFile(path("missing/temp.txt"), &error));
        QVERIFY2(error.contains("missing/temp.txt"), qPrintable(error));
        QVERIFY(!r->LoadGrammarFile(path("a/VAppCmd.txt"), &error));
        QVERIFY2(error.contains("not a recognition grammar"), qPrintable(error));
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QVERIFY(!r->Activate(&error)); // the "WAV" is the application list
        QVERIFY2(error.contains("not a WAV"), qPrintable(error));
        QVERIFY(!r->isActive());

        SphinxRecognizer noMicrophone(std::make_unique<PulseAudioSource>(
            std::function<SoundSource()>(), QStringLiteral("unix:/nonexistent/pulse")));
        QVERIFY2(noMicrophone.LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QVERIFY(!noMicrophone.Activate(&error));
        QCOMPARE(error, QString("No sound server is running: start PipeWire or PulseAudio, then "
                                "click the level meter."));
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
        const QString loud = clip("espeak:en-us", "select all");
        const QString file = path(QString("select_all_at_%1.wav").arg(volume));
        QString error;
        QVERIFY2(
            SynthesizedSpeech::run("sox", {loud, file, "vol", QString::number(volume)}, &error),
            qPrintable(error));
        QList<qint16> samples;
        QVERIFY2(WavReader::read(loud, &samples, &error), qPrintable(error));
        int loudest = 0;
        for (qsizetype at = 0; at + 800 <= samples.size(); at += 800)
            loudest = qMax(loudest, LevelMeter::rms(samples.constData() + at, 800));
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
        QCOMPARE(phrasesHeard(spy, 3.0 / 3.0), heard ? QStringList{"select all"} : QStringList{});
    }

    void recognizeCommandLine()
    {
        const QString a = clip("flite:slt", "select all");
        const QString b = clip("flite:rms", "page up");
        QProcess jev;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", path("config"));
        jev.setProcessEnvironment(env);
        jev.start(JEV_BINARY, {"--data-dir", path("a"), "recognize", a, b});
        QVERIFY(jev.waitForFinished(30000));
        QCOMPARE(jev.exitCode(), 0);
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
