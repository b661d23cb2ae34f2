#include "data/CFile.h"
#include "data/MemoryListBox.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/WavFileSource.h"
#include "support/RecordFileBytes.h"
#include "support/SynthesizedSpeech.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The recognizer's own phrases "go to sleep" and "wake up", spoken by synthesized voices to the
// PocketSphinx recognizer: heard beside a grammar that lacks them, which stays as it was.
class TestSleepPhrases : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const { return m_dir->path() + "/" + name; }

    // A data directory whose temp.txt the program's grammar writer makes.
    void writeGrammar(const QString &dir, const QList<QByteArray> &words)
    {
        RecordFileBytes::write(dir + "/VAppCmd.txt",
                               RecordFileBytes::file({"Gedit \xA6 notes*editor~Edit$gedit"}, 270));
        RecordFileBytes::write(dir + "/vocab/Edit.txt", RecordFileBytes::file(words, 128));
        QString error;
        QVERIFY2(CFile(dir).TempLoad(MemoryListBox({"Edit"}), &error), qPrintable(error));
    }

    // The pieces ("voice|text" spoken, a number: seconds of silence) in one file.
    QString recording(const QStringList &pieces)
    {
        QStringList files;
        for (const QString &piece : pieces) {
            const QString file =
                path(QString(piece).replace(QRegularExpression("[^A-Za-z0-9.]"), "_") + ".wav");
            QString error;
            const bool made =
                QFileInfo::exists(file) ||
                (piece.contains('|')
                     ? SynthesizedSpeech::say(piece.section('|', 0, 0), piece.section('|', 1), file,
                                              &error, 0.3, 0.6)
                     : SynthesizedSpeech::silence(piece.toDouble(), file, &error));
            if (!made)
                qWarning().noquote() << error;
            files.append(file);
        }
        const QString out = path(QString("take%1.wav").arg(++m_takes));
        QString error;
        if (!SynthesizedSpeech::concatenate(files + QStringList{silence()}, out, &error))
            qWarning().noquote() << error;
        return out;
    }
    QString silence()
    {
        const QString file = path("trail.wav");
        QString error;
        if (!QFileInfo::exists(file) && !SynthesizedSpeech::silence(1.0, file, &error))
            qWarning().noquote() << error;
        return file;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_takes = 0;

private Q_SLOTS:
    void initTestCase()
    {
        JEV_REQUIRE_SPEECH_SYNTHESIS();
        m_dir = std::make_unique<QTemporaryDir>();
        writeGrammar(path("plain"), {"save file:^s", "page down:{PGDN}", "go back:%{LEFT}"});
        // A vocabulary that has the same words, spelled its own way.
        writeGrammar(path("own words"), {"save file:^s", "Wake Up:^w", "Go to sleep!:^q"});
    }

    void heardBesideTheGrammar_data()
    {
        QTest::addColumn<QString>("grammar");
        QTest::addColumn<QStringList>("spoken");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("go to sleep")
            << "plain" << QStringList{"espeak:en-us|go to sleep"} << QStringList{"go to sleep"};
        QTest::newRow("wake up") << "plain" << QStringList{"flite:slt|wake up"}
                                 << QStringList{"wake up"};
        QTest::newRow("among commands")
            << "plain"
            << QStringList{"espeak:en-us|go to sleep", "0.8", "espeak:en-us|save file", "0.8",
                           "flite:rms|wake up",        "0.8", "flite:slt|go back"}
            << QStringList{"go to sleep", "save file", "wake up", "go back"};
        QTest::newRow("the vocabulary's own spelling gives way")
            << "own words" << QStringList{"flite:slt|go to sleep", "0.8", "espeak:en-us|wake up"}
            << QStringList{"go to sleep", "wake up"};
    }
    void heardBesideTheGrammar()
    {
        QFETCH(QString, grammar);
        QFETCH(QStringList, spoken);
        QFETCH(QStringList, heard);
        const QString grammarFile = path(grammar + "/temp.txt");
        const QByteArray before = RecordFileBytes::read(grammarFile);
        const QDateTime changed = QFileInfo(grammarFile).lastModified();
        QVERIFY(!before.isEmpty());
        if (grammar == "plain")
            QVERIFY(!before.contains("sleep") && !before.contains("wake"));

        const QString take = recording(spoken);
        SphinxRecognizer recognizer(std::make_unique<WavFileSource>(QStringList{take}, 3.0));
        QString error;
        QVERIFY2(recognizer.LoadGrammarFile(grammarFile, &error), qPrintable(error));
        QSignalSpy spy(&recognizer, &Recognizer::PhraseRecognized);
        QVERIFY2(recognizer.Activate(&error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), heard.size(), 10000);
        QTest::qWait(1000); // nothing more comes
        recognizer.Deactivate();
        QStringList phrases;
        for (const QList<QVariant> &args : std::as_const(spy))
            phrases.append(args.at(0).toString());
        QCOMPARE(phrases, heard);

        // The vocabulary's phrases with the same words are left out, each with a warning.
        QCOMPARE(recognizer.grammarWarnings().size(), grammar == "plain" ? 0 : 2);
        // The grammar file is read, never written.
        QCOMPARE(RecordFileBytes::read(grammarFile), before);
        QCOMPARE(QFileInfo(grammarFile).lastModified(), changed);
    }
};

QTEST_GUILESS_MAIN(TestSleepPhrases)
#include "tst_sleepphrases.moc"
