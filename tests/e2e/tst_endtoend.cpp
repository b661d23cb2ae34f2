#include "platform/KeystrokeParser.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeystrokeSender.h"
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

    // A user configures the target with the mouse and the keyboard, clicks the level meter once,
    // and says the target's new name. The recording starts with silence: it plays while the
    // program listens, which it stops doing when Configure is clicked.
    void configureThenSpeak()
    {
        const QString missing = SynthesizedSpeech::missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QTemporaryDir dir;
        XvfbSession session;
        QString error;
        QVERIFY2(session.start(&error), qPrintable(error));
        QVERIFY2(
            session.startTarget("JevTarget", "Target Editor", dir.filePath("t.log"), {}, &error),
            qPrintable(error));
        const QString data = dir.filePath("data");
        RecordFileBytes::write(data + "/vocab/Editing.txt",
                               RecordFileBytes::file({"select all:^a"}, 128));
        const QString speech = dir.filePath("speech.wav");
        QVERIFY2(SynthesizedSpeech::say("flite:slt", "editor", speech, &error, 8.0, 1.5),
                 qPrintable(error));

        QProcess jev;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("QT_QPA_PLATFORM", "xcb");
        jev.setProcessEnvironment(env);
        jev.start(JEV_BINARY, {"--data-dir", data, "--audio-file", speech});
        QVERIFY(session.waitForTitle("JEV! Voice Control", 20000));
        // A window is where it stays once the window manager has placed and activated it.
        QTRY_COMPARE(session.activeWindow(), session.windowWithTitle("JEV! Voice Control"));
        // Both windows lay their controls out over their whole width in design proportions.
        const QRect speechWindow =
            session.clientGeometry(session.windowWithTitle("JEV! Voice Control"));
        auto onSpeechWindow = [&](double x, double y) {
            return speechWindow.topLeft() + QPoint(int(speechWindow.width() * x / 2955),
                                                   int(speechWindow.height() * y / 795));
        };
        QVERIFY(session.click(onSpeechWindow(1920 + 480, 120 + 150))); // Configure
        QVERIFY(session.waitForTitle("Application Command Configuration", 20000));
        QTRY_COMPARE(session.activeWindow(),
                     session.windowWithTitle("Application Command Configuration"));
        const QRect appWindow =
            session.clientGeometry(session.windowWithTitle("Application Command Configuration"));
        // Below the menu bar and the toolbar, the controls fill a 9390 x 4245 twips area.
        const int controlsHeight = qRound(appWindow.width() * 4245.0 / 9390);
        auto onAppWindow = [&](double x, double y, int down = 0) {
            return QPoint(appWindow.x() + int(appWindow.width() * x / 9390),
                          appWindow.bottom() - controlsHeight + int(controlsHeight * y / 4245) +
                              down);
        };
        // The target is the first running application; the first line is 9 pixels down. Queued
        // moves reach the program as one: the pointer moves on until the drag has started.
        QPoint pointer = onAppWindow(5400, 360, 9);
        QVERIFY(session.movePointer(pointer) && session.setButton(true));
        QTRY_VERIFY(session.movePointer(pointer += QPoint(-4, 0)) && session.dragStarted());
        QVERIFY(session.movePointer(onAppWindow(2300, 1500), 12));
        QVERIFY(session.setButton(false));
        QTRY_COMPARE(RecordFileBytes::records(RecordFileBytes::read(data + "/VAppCmd.txt"), 270),
                     QByteArrayList({"JevTarget \xA6 Target Editor*"}));

        X11Connection connection(session.displayName());
        X11KeystrokeSender keys(connection);
        QVERIFY(session.click(onAppWindow(2300, 360, 9))); // the new entry
        QVERIFY2(keys.send(KeystrokeParser::parse("{TAB}editor{TAB}Editing%s").actions, &error),
                 qPrintable(error));
        QTRY_COMPARE(RecordFileBytes::records(RecordFileBytes::read(data + "/VAppCmd.txt"), 270),
                     QByteArrayList({"JevTarget \xA6 Target Editor*editor~Editing$"}));
        QVERIFY2(keys.send(KeystrokeParser::parse("%c").actions, &error), qPrintable(error));
        QTRY_VERIFY(RecordFileBytes::read(data + "/temp.txt").contains("<start>=editor\r\n"));
        QTRY_VERIFY(!session.windowWithTitle("Application Command Configuration"));

        const QString heardBefore = QString::fromUtf8(jev.readAllStandardError());
        QVERIFY2(!heardBefore.contains("Heard:"), qPrintable(heardBefore));
        QVERIFY(session.activeWindow() != session.windowWithTitle("Target Editor"));
        QVERIFY(session.click(onSpeechWindow(900, 247))); // the level meter
        QString heard;
        QTRY_VERIFY_WITH_TIMEOUT(
            (heard += QString::fromUtf8(jev.readAllStandardError())).contains("Heard: editor"),
            20000);
        QTRY_COMPARE(session.activeWindow(), session.windowWithTitle("Target Editor"));
        jev.terminate();
        QVERIFY(jev.waitForFinished(10000));
    }

    // A vocabulary and its word made with the keyboard alone: Alt+C opens the application
    // window, Alt+V the vocabulary window. A new vocabulary takes its first word as a copy of
    // another's (saving needs a word to save over or after), which is then edited. Close writes
    // the grammar; after one click on the level meter, the target's name and the new word are
    // said, and the word's keys reach the target.
    void vocabularyByKeyboardThenSpeak()
    {
        const QString missing = SynthesizedSpeech::missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QTemporaryDir dir;
        XvfbSession session;
        QString error;
        QVERIFY2(session.start(&error), qPrintable(error));
        QVERIFY2(
            session.startTarget("JevTarget", "Target Editor", dir.filePath("t.log"), {}, &error),
            qPrintable(error));
        const QString data = dir.filePath("data");
        RecordFileBytes::write(
            data + "/VAppCmd.txt",
            RecordFileBytes::file({"JevTarget \xA6 Target Editor*editor~Editing$/bin/true"}, 270));
        RecordFileBytes::write(data + "/vocab/Common.txt",
                               RecordFileBytes::file({"copy that:^c"}, 128));
        QStringList pieces{dir.filePath("name.wav"), dir.filePath("word.wav")};
        QVERIFY2(SynthesizedSpeech::say("flite:slt", "editor", pieces[0], &error, 8.0, 1.2),
                 qPrintable(error));
        QVERIFY2(SynthesizedSpeech::say("flite:slt", "select all", pieces[1], &error, 0.5, 1.5),
                 qPrintable(error));
        const QString speech = dir.filePath("speech.wav");
        QVERIFY2(SynthesizedSpeech::concatenate(pieces, speech, &error), qPrintable(error));

        QProcess jev;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("QT_QPA_PLATFORM", "xcb");
        jev.setProcessEnvironment(env);
        jev.start(JEV_BINARY, {"--data-dir", data, "--audio-file", speech});
        X11Connection connection(session.displayName());
        X11KeystrokeSender keys(connection);
        // Keys for the window with this title, once it is in front.
        const auto typeInto = [&](const char *title, const char *text) {
            QVERIFY(session.waitForTitle(title, 20000));
            QTRY_COMPARE(session.activeWindow(), session.windowWithTitle(title));
            QVERIFY2(keys.send(KeystrokeParser::parse(text).actions, &error), qPrintable(error));
        };
        const char *vocabularyWindow = "Vocabulary/Dictionary Configuration";
        typeInto("JEV! Voice Control", "%c");
        typeInto("Application Command Configuration", "%v");
        typeInto(vocabularyWindow, "%fn"); // File > New Vocabulary
        typeInto("New Vocabulary", "Editing~");
        // Common's word, still listed, selected and copied to Editing.
        typeInto(vocabularyWindow, "{TAB} ^+c");
        typeInto("Copy Words To", "Editing~");
        typeInto("Words Copied", "~");
        // Editing selected in the vocabulary list, its word selected, edited and saved; Close.
        typeInto(vocabularyWindow, "{TAB}{DOWN}+{TAB} {TAB}{TAB}select all:{^}a%s");
        QTRY_COMPARE(
            RecordFileBytes::records(RecordFileBytes::read(data + "/vocab/Editing.txt"), 128),
            QByteArrayList{"select all:^a"});
        QVERIFY2(keys.send(KeystrokeParser::parse("%c").actions, &error), qPrintable(error));
        QTRY_VERIFY(RecordFileBytes::read(data + "/temp.txt").contains("<start>=select all\r\n"));
        QTRY_VERIFY(!session.windowWithTitle(vocabularyWindow));

        QVERIFY(!QString::fromUtf8(jev.readAllStandardError()).contains("Heard:"));
        const QRect speechWindow =
            session.clientGeometry(session.windowWithTitle("JEV! Voice Control"));
        QVERIFY(session.click(speechWindow.topLeft() +
                              QPoint(int(speechWindow.width() * 900.0 / 2955),
                                     int(speechWindow.height() * 247.0 / 795)))); // the meter
        QString heard;
        QTRY_VERIFY_WITH_TIMEOUT(
            (heard += QString::fromUtf8(jev.readAllStandardError())).contains("Heard: select all"),
            30000);
        QTRY_COMPARE(XvfbSession::keysLogged(dir.filePath("t.log")), QStringList({"Ctrl+A\t"}));
        jev.terminate();
        QVERIFY(jev.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
