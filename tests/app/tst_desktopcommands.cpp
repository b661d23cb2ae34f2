#include "support/JevProcess.h"
#include "support/RecordFileBytes.h"
#include "support/XvfbSession.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The command-line tasks that act on the desktop, on Xvfb with openbox and key-logging targets.
class TestDesktopCommands : public QObject
{
    Q_OBJECT

private:
    using Result = JevResult;

    Result jev(const QStringList &args, bool withDisplay = true)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        if (!withDisplay)
            env.remove("DISPLAY");
        return runJev(JEV_BINARY, QStringList{"--data-dir", data()} + args, env);
    }
    QString data() const { return m_dir.filePath("data"); }
    void setExactTitles()
    {
        QSettings settings(m_dir.filePath("config/DuveVuvuraru/jev.conf"), QSettings::IniFormat);
        settings.setValue("Engine/ExactTitles", true);
    }
    QString log(const QString &name) const { return m_dir.filePath(name + ".log"); }

    QTemporaryDir m_dir;
    std::unique_ptr<XvfbSession> m_session;

private Q_SLOTS:
    void init()
    {
        for (const char *name : {"editor", "other", "restarted"})
            QFile::remove(log(QString::fromLatin1(name)));
        QFile::remove(m_dir.filePath("config/DuveVuvuraru/jev.conf"));
        m_session = std::make_unique<XvfbSession>();
        QString error;
        QVERIFY2(m_session->start(&error), qPrintable(error));
        // Started by the record's path when no window stands for the record.
        const QString restart = m_dir.filePath("restart.sh");
        QVERIFY(XvfbSession::writeTargetScript(restart, "JevTarget", "Target Editor",
                                               log("restarted")));
        RecordFileBytes::write(
            data() + "/VAppCmd.txt",
            RecordFileBytes::file(
                {"JevTarget \xA6 Target Editor*editor~Editing$" + restart.toUtf8(),
                 "Other \xA6 Other window*other~Editing$"},
                270));
        RecordFileBytes::write(data() + "/vocab/Editing.txt",
                               RecordFileBytes::file({"select all:^a", "open:%fo"}, 128));
    }

    void cleanup() { m_session.reset(); }

    // The tasks on a real desktop. An editor marks its document modified in its title after each
    // key; the record still names it by the title it had when it was added.
    void switchAndType()
    {
        QString error;
        QVERIFY2(m_session->startTarget("JevTarget", "Target Editor", log("editor"), {"--retitle"},
                                        &error),
                 qPrintable(error));
        const quint64 editor = m_session->windowWithTitle("Target Editor");
        QVERIFY2(m_session->startTarget("Other", "Other window", log("other"), {}, &error),
                 qPrintable(error));
        const Result windows = jev({"windows"});
        QCOMPARE(windows.code, 0);
        QVERIFY2(windows.out.contains("JevTarget ¦ Target Editor\n") &&
                     windows.out.contains("Other ¦ Other window\n"),
                 qPrintable(windows.out));

        QCOMPARE(jev({"say", "editor"}).out, QString("1\n"));
        QTRY_COMPARE(m_session->activeWindow(), editor);
        QCOMPARE(jev({"say", "select all"}).out, QString("2\n"));
        QVERIFY(m_session->waitForTitle("*Target Editor (1)"));
        QCOMPARE(jev({"say", "open"}).out, QString("2\n"));
        QCOMPARE(jev({"say", "nothing of the kind"}).out, QString("0\n"));
        QCOMPARE(XvfbSession::keysLogged(log("editor")),
                 QStringList({"Ctrl+A\t", "Alt+F\tf", "O\to"}));
        QCOMPARE(XvfbSession::keysLogged(log("other")), QStringList());

        // One record per window title, for those who want it: the changed window is no longer
        // the record's, so its words are not sent and its name starts the program.
        setExactTitles();
        QCOMPARE(jev({"say", "select all"}).out, QString("0\n"));
        QCOMPARE(XvfbSession::keysLogged(log("editor")).size(), 3);
        QCOMPARE(jev({"say", "editor"}).out, QString("1\n"));
        QVERIFY(m_session->waitForTitle("Target Editor"));
        QTRY_VERIFY(QFile::exists(log("restarted")));
    }

    void keysAndRefusals()
    {
        QString error;
        QVERIFY2(m_session->startTarget("Other", "Other window", log("other"), {}, &error),
                 qPrintable(error));
        QCOMPARE(jev({"keys", "Hi{ENTER}"}).code, 0);
        QCOMPARE(XvfbSession::keysLogged(log("other")),
                 QStringList({"Shift+H\tH", "I\ti", "Return\t"}));
        const Result bad = jev({"keys", "{NOSUCHKEY}"});
        QCOMPARE(bad.code, 1);
        QVERIFY2(!bad.err.isEmpty(), "no reason given for malformed keys");
        QCOMPARE(XvfbSession::keysLogged(log("other")).size(), 3);

        const Result noDisplay = jev({"windows"}, false);
        QCOMPARE(noDisplay.code, 1);
        QVERIFY2(noDisplay.err.contains("No X display"), qPrintable(noDisplay.err));
        QCOMPARE(jev({"apps"}, false).code, 0); // the data files need no display
    }
};

QTEST_GUILESS_MAIN(TestDesktopCommands)
#include "tst_desktopcommands.moc"
