#include "data/CFile.h"
#include "data/MemoryListBox.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/WavFileSource.h"
#include "support/RecordFileBytes.h"
#include "support/SynthesizedSpeech.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Sound files that cannot be used, on the real recognizer and the real `jev recognize`: a good
// file made by speech synthesis, then damaged the way a careless copy or a lying writer would.
class TestSoundFiles : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const { return m_dir.path() + "/" + name; }

    std::unique_ptr<SphinxRecognizer> recognizer(const QStringList &files, double speed)
    {
        return std::make_unique<SphinxRecognizer>(std::make_unique<WavFileSource>(files, speed));
    }

    QTemporaryDir m_dir;
    QString m_grammarA;
    QString m_good;

private Q_SLOTS:
    void initTestCase()
    {
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        RecordFileBytes::write(path("a/VAppCmd.txt"),
                               RecordFileBytes::file({"XTerm \xA6 shell*Notepad~Editing$xterm"},
                                                     CFile::AppSlotLength));
        RecordFileBytes::write(
            path("a/vocab/Editing.txt"),
            RecordFileBytes::file({"select all:^a", "page down:{PGDN}"}, CFile::VocabSlotLength));
        QString error;
        QVERIFY2(CFile(path("a")).TempLoad(MemoryListBox({"Editing"}), &error), qPrintable(error));
        m_grammarA = path("a/temp.txt");
        m_good = path("select_all.wav");
        QVERIFY2(SynthesizedSpeech::say("flite:slt", "select all", m_good, &error),
                 qPrintable(error));
    }

    // A bad sound file is named with what is wrong, in the task (which goes on with the other
    // files and fails) and when the window would start listening to it.
    void badFilesNamed_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("reason");
        QTest::newRow("cut short") << "cut"
                                   << "promises";
        QTest::newRow("not RIFF") << "RIFX"
                                  << "not a WAV";
        QTest::newRow("frame size that does not fit the layout") << "align"
                                                                 << "inconsistent";
        QTest::newRow("compressed") << "format"
                                    << "not supported";
    }
    void badFilesNamed()
    {
        QFETCH(QString, change);
        QFETCH(QString, reason);
        const QString good = m_good;
        QFile in(good);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QByteArray bytes = in.readAll();
        const qsizetype fmt = bytes.indexOf("fmt ") + 8;
        if (change == "cut")
            bytes.chop(bytes.size() / 2);
        else if (change == "RIFX")
            bytes.replace(0, 4, "RIFX");
        else if (change == "align")
            bytes[fmt + 12] = 3;
        else
            bytes[fmt] = 2;
        const QString bad = path(change + ".wav");
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();

        QProcess jev;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", path("config"));
        jev.setProcessEnvironment(env);
        jev.start(JEV_BINARY, {"--data-dir", path("a"), "recognize", bad, good});
        QVERIFY(jev.waitForFinished(30000));
        QCOMPARE(jev.exitCode(), 1);
        const QString said = QString::fromUtf8(jev.readAllStandardError());
        const QStringList lines = said.split('\n').filter("The sound file " + bad);
        QVERIFY2(lines.size() == 1 &&
                     lines[0].startsWith("The sound file " + bad + " cannot be used: ") &&
                     lines[0].contains(reason),
                 qPrintable(said));
        QCOMPARE(QString::fromUtf8(jev.readAllStandardOutput()).section('\t', 0, 1),
                 good + "\tselect all");

        auto r = recognizer({good, bad}, 1.0);
        QString error;
        QVERIFY2(r->LoadGrammarFile(m_grammarA, &error), qPrintable(error));
        QVERIFY(!r->Activate(&error));
        QVERIFY2(error.contains(bad) && error.contains(reason), qPrintable(error));
        QVERIFY(!r->isActive());
    }
};

QTEST_GUILESS_MAIN(TestSoundFiles)
#include "tst_soundfiles.moc"
