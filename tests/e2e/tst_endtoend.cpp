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

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QByteArrayList records(const QString &file, int slot) const
    {
        return RecordFileBytes::records(RecordFileBytes::read(path("data/" + file)), slot);
    }
    void writeData(const QString &file, const QByteArrayList &records, int slot)
    {
        RecordFileBytes::write(path("data/" + file), RecordFileBytes::file(records, slot));
    }
    // The target's record: spoken name "editor", vocabulary Editing, a path that starts nothing.
    void writeTargetRecord()
    {
        writeData("VAppCmd.txt", {"JevTarget \xA6 Target Editor*editor~Editing$/bin/true"}, 270);
    }
    // speech.wav: the phrases one after another, each with its silence before and after.
    void synthesize(const QList<std::tuple<QString, double, double>> &phrases)
    {
        QStringList pieces;
        for (const auto &[text, lead, trail] : phrases) {
            pieces.append(path(QString("piece%1.wav").arg(pieces.size())));
            QVERIFY2(
                SynthesizedSpeech::say("flite:slt", text, pieces.last(), &m_error, lead, trail),
                qPrintable(m_error));
        }
        QVERIFY2(SynthesizedSpeech::concatenate(pieces, path("speech.wav"), &m_error),
                 qPrintable(m_error));
    }
    // Keys typed with XTest into the window in front.
    void type(const QString &keys)
    {
        X11Connection connection(m_session->displayName());
        QVERIFY2(
            X11KeystrokeSender(connection).send(KeystrokeParser::parse(keys).actions, &m_error),
            qPrintable(m_error));
    }
    // The program over data/, hearing speech.wav instead of a microphone.
    void startJev()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", path("config"));
        env.insert("QT_QPA_PLATFORM", "xcb");
        m_jev.setProcessEnvironment(env);
        m_jev.start(JEV_BINARY, {"--data-dir", path("data"), "--audio-file", path("speech.wav")});
        QVERIFY(m_jev.waitForStarted());
    }
    // Waits until the program has said it heard `phrase`.
    void waitUntilHeard(const QString &phrase, int timeout = 20000)
    {
        QTRY_VERIFY_WITH_TIMEOUT((m_heard += QString::fromUtf8(m_jev.readAllStandardError()))
                                     .contains("Heard: " + phrase),
                                 timeout);
    }
    // A point of the speech window in its design coordinates (twips).
    QPoint onSpeechWindow(double x, double y) const
    {
        const QRect window =
            m_session->clientGeometry(m_session->windowWithTitle("JEV! Voice Control"));
        return window.topLeft() +
               QPoint(int(window.width() * x / 2955), int(window.height() * y / 795));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<XvfbSession> m_session;
    QProcess m_jev;
    QString m_heard;
    QString m_error;

private Q_SLOTS:
    // Xvfb with openbox and the target "Target Editor", which logs its keys to t.log.
    void init()
    {
        const QString missing = SynthesizedSpeech::missingTools();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        m_dir = std::make_unique<QTemporaryDir>();
        m_session = std::make_unique<XvfbSession>();
        m_heard.clear();
        QVERIFY2(m_session->start(&m_error), qPrintable(m_error));
        QVERIFY2(m_session->startTarget("JevTarget", "Target Editor", path("t.log"), {}, &m_error),
                 qPrintable(m_error));
    }
    void cleanup()
    {
        if (m_jev.state() != QProcess::NotRunning) {
            m_jev.terminate();
            QVERIFY(m_jev.waitForFinished(10000));
        }
        m_session.reset();
    }

    void speakToTheDesktop()
    {
        QVERIFY2(m_session->startTarget("Other", "Other window", path("other.log"), {}, &m_error),
                 qPrintable(m_error));
        const quint64 editor = m_session->windowWithTitle("Target Editor");
        QTRY_COMPARE(m_session->activeWindow(), m_session->windowWithTitle("Other window"));
        writeTargetRecord();
        writeData("vocab/Editing.txt", {"select all:^a"}, 128);
        // "switch to" is a phrase of every grammar that does nothing.
        synthesize({{"editor", 1.0, 1.2}, {"select all", 1.2, 1.2}, {"switch to", 1.2, 1.2}});
        startJev();
        waitUntilHeard("editor");
        QTRY_COMPARE(m_session->activeWindow(), editor);
        waitUntilHeard("select all");
        QTRY_COMPARE(XvfbSession::keysLogged(path("t.log")), QStringList({"Ctrl+A\t"}));
        waitUntilHeard("switch to");
        // A phrase that is no command changes nothing.
        QTest::qWait(500);
        QCOMPARE(m_session->activeWindow(), editor);
        QCOMPARE(XvfbSession::keysLogged(path("t.log")), QStringList({"Ctrl+A\t"}));
        QCOMPARE(XvfbSession::keysLogged(path("other.log")), QStringList());
        QCOMPARE((m_heard += QString::fromUtf8(m_jev.readAllStandardError())).count("Heard: "), 3);
    }

    // A user configures the target with the mouse and the keyboard, clicks the level meter once,
    // and says the target's new name. The recording starts with silence: it plays while the
    // program listens, which it stops doing when Configure is clicked.
    void configureThenSpeak()
    {
        writeData("vocab/Editing.txt", {"select all:^a"}, 128);
        synthesize({{"editor", 8.0, 1.5}});
        startJev();
        QVERIFY(m_session->waitForTitle("JEV! Voice Control", 20000));
        // A window is where it stays once the window manager has placed and activated it.
        QTRY_COMPARE(m_session->activeWindow(), m_session->windowWithTitle("JEV! Voice Control"));
        // Both windows lay their controls out over their whole width in design proportions.
        QVERIFY(m_session->click(onSpeechWindow(1920 + 480, 120 + 150))); // Configure
        const char *appTitle = "Application Command Configuration";
        QVERIFY(m_session->waitForTitle(appTitle, 20000));
        QTRY_COMPARE(m_session->activeWindow(), m_session->windowWithTitle(appTitle));
        const QRect appWindow = m_session->clientGeometry(m_session->windowWithTitle(appTitle));
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
        QVERIFY(m_session->movePointer(pointer) && m_session->setButton(true));
        QTRY_VERIFY(m_session->movePointer(pointer += QPoint(-4, 0)) && m_session->dragStarted());
        QVERIFY(m_session->movePointer(onAppWindow(2300, 1500), 12));
        QVERIFY(m_session->setButton(false));
        QTRY_COMPARE(records("VAppCmd.txt", 270),
                     QByteArrayList({"JevTarget \xA6 Target Editor*"}));

        QVERIFY(m_session->click(onAppWindow(2300, 360, 9))); // the new entry
        type("{TAB}editor{TAB}Editing%s");
        QTRY_COMPARE(records("VAppCmd.txt", 270),
                     QByteArrayList({"JevTarget \xA6 Target Editor*editor~Editing$"}));
        type("%c");
        QTRY_VERIFY(RecordFileBytes::read(path("data/temp.txt")).contains("<start>=editor\r\n"));
        QTRY_VERIFY(!m_session->windowWithTitle(appTitle));

        // Nothing is heard while configuring; then one click on the level meter.
        QVERIFY(!QString::fromUtf8(m_jev.readAllStandardError()).contains("Heard:"));
        QVERIFY(m_session->activeWindow() != m_session->windowWithTitle("Target Editor"));
        QVERIFY(m_session->click(onSpeechWindow(900, 247)));
        waitUntilHeard("editor");
        QTRY_COMPARE(m_session->activeWindow(), m_session->windowWithTitle("Target Editor"));
    }

    // A vocabulary and its word made with the keyboard alone: Alt+C opens the application
    // window, Alt+V the vocabulary window. A new vocabulary takes its first word as a copy of
    // another's (saving needs a word to save over or after), which is then edited. Close writes
    // the grammar; after one click on the level meter, the target's name and the new word are
    // said, and the word's keys reach the target.
    void vocabularyByKeyboardThenSpeak()
    {
        writeTargetRecord();
        writeData("vocab/Common.txt", {"copy that:^c"}, 128);
        synthesize({{"editor", 8.0, 1.2}, {"select all", 0.5, 1.5}});
        startJev();
        // Keys for the window with this title, once it is in front.
        const auto typeInto = [&](const char *title, const char *text) {
            QVERIFY(m_session->waitForTitle(title, 20000));
            QTRY_COMPARE(m_session->activeWindow(), m_session->windowWithTitle(title));
            type(text);
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
        QTRY_COMPARE(records("vocab/Editing.txt", 128), QByteArrayList{"select all:^a"});
        type("%c");
        QTRY_VERIFY(
            RecordFileBytes::read(path("data/temp.txt")).contains("<start>=select all\r\n"));
        QTRY_VERIFY(!m_session->windowWithTitle(vocabularyWindow));

        QVERIFY(!QString::fromUtf8(m_jev.readAllStandardError()).contains("Heard:"));
        QVERIFY(m_session->click(onSpeechWindow(900, 247))); // the level meter
        waitUntilHeard("select all", 30000);
        QTRY_COMPARE(XvfbSession::keysLogged(path("t.log")), QStringList({"Ctrl+A\t"}));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
