#include "support/RecordFileBytes.h"
#include "support/SynthesizedSpeech.h"
#include "support/XvfbSession.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The whole program on Xvfb: synthesized speech instead of a microphone, a key-logging target
// as the application to control.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void speakToTheDesktop()
    {
        const QString missing = SynthesizedSpeech::missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QTemporaryDir dir;
        XvfbSession session;
        QString error;
        QVERIFY2(session.start(&error), qPrintable(error));
        QVERIFY2(session.startTarget("JevTarget", "Target Editor", dir.filePath("editor.log"), {},
                                     &error),
                 qPrintable(error));
        QVERIFY2(
            session.startTarget("Other", "Other window", dir.filePath("other.log"), {}, &error),
            qPrintable(error));
        const quint64 editor = session.windowWithTitle("Target Editor");
        QTRY_COMPARE(session.activeWindow(), session.windowWithTitle("Other window"));

        const QString data = dir.filePath("data");
        RecordFileBytes::write(
            data + "/VAppCmd.txt",
            RecordFileBytes::file({"JevTarget \xA6 Target Editor*editor~Editing$/bin/true"}, 270));
        RecordFileBytes::write(data + "/vocab/Editing.txt",
                               RecordFileBytes::file({"select all:^a"}, 128));

        // "switch to" is a phrase of every grammar that does nothing.
        QStringList pieces;
        const QList<std::pair<QString, double>> script{
            {"editor", 1.0}, {"select all", 1.2}, {"switch to", 1.2}};
        for (qsizetype i = 0; i < script.size(); ++i) {
            const QString piece = dir.filePath(QString("piece%1.wav").arg(i));
            QVERIFY2(SynthesizedSpeech::say("flite:slt", script[i].first, piece, &error,
                                            script[i].second, 1.2),
                     qPrintable(error));
            pieces.append(piece);
        }
        const QString speech = dir.filePath("speech.wav");
        QVERIFY2(SynthesizedSpeech::concatenate(pieces, speech, &error), qPrintable(error));

        QProcess jev;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("QT_QPA_PLATFORM", "xcb");
        jev.setProcessEnvironment(env);
        jev.start(JEV_BINARY, {"--data-dir", data, "--audio-file", speech});
        QVERIFY(jev.waitForStarted());
        QString heard;
        auto readHeard = [&] {
            heard += QString::fromUtf8(jev.readAllStandardError());
            return heard;
        };
        QTRY_VERIFY_WITH_TIMEOUT(readHeard().contains("Heard: editor"), 20000);
        QTRY_COMPARE(session.activeWindow(), editor);
        QTRY_VERIFY_WITH_TIMEOUT(readHeard().contains("Heard: select all"), 20000);
        QTRY_COMPARE(XvfbSession::keysLogged(dir.filePath("editor.log")),
                     QStringList({"Ctrl+A\t"}));
        QTRY_VERIFY_WITH_TIMEOUT(readHeard().contains("Heard: switch to"), 20000);
        // A phrase that is no command changes nothing.
        QTest::qWait(500);
        QCOMPARE(session.activeWindow(), editor);
        QCOMPARE(XvfbSession::keysLogged(dir.filePath("editor.log")), QStringList({"Ctrl+A\t"}));
        QCOMPARE(XvfbSession::keysLogged(dir.filePath("other.log")), QStringList());
        QCOMPARE(readHeard().count("Heard: "), 3);
        jev.terminate();
        QVERIFY(jev.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
