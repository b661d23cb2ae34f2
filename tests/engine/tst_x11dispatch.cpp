#include "data/MemoryListBox.h"
#include "engine/CApp.h"
#include "engine/RunningApps.h"
#include "platform/fake/ScriptedPrompter.h"
#include "platform/qt/ProcessShell.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "platform/x11/X11WindowSystem.h"
#include "support/RecordFileBytes.h"
#include "support/XvfbSession.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A phrase said right after a spoken name, on Xvfb with openbox: it reaches the window the name
// brought forward, even while that window is still being started, restored or focused.
class TestX11Dispatch : public QObject
{
    Q_OBJECT

private:
    QString log(const QString &name) const { return m_dir.filePath(name + ".log"); }

    QTemporaryDir m_dir;
    std::unique_ptr<XvfbSession> m_session;

private Q_SLOTS:
    void init()
    {
        QFile::remove(log("editor"));
        QFile::remove(log("other"));
        m_session = std::make_unique<XvfbSession>();
        QString error;
        QVERIFY2(m_session->start(&error), qPrintable(error));
        const QString start = m_dir.filePath("start-editor.sh");
        QVERIFY(XvfbSession::writeTargetScript(start, "JevTarget", "Target Editor", log("editor")));
        RecordFileBytes::write(
            m_dir.filePath("data/VAppCmd.txt"),
            RecordFileBytes::file({"JevTarget \xA6 Target Editor*editor~Editing$" + start.toUtf8(),
                                   "Other \xA6 Other window*other~Editing$"},
                                  270));
        RecordFileBytes::write(m_dir.filePath("data/vocab/Editing.txt"),
                               RecordFileBytes::file({"type hi:hi"}, 128));
    }

    void cleanup() { m_session.reset(); }

    void phraseRightAfterTheName_data()
    {
        QTest::addColumn<bool>("editorRunning");
        QTest::addColumn<QStringList>("editorArgs");
        QTest::newRow("not running yet") << false << QStringList();
        QTest::newRow("behind another window") << true << QStringList();
        QTest::newRow("minimized") << true << QStringList{"--minimized"};
    }

    void phraseRightAfterTheName()
    {
        QFETCH(bool, editorRunning);
        QFETCH(QStringList, editorArgs);
        QString error;
        if (editorRunning) {
            QVERIFY2(m_session->startTarget("JevTarget", "Target Editor", log("editor"), editorArgs,
                                            &error),
                     qPrintable(error));
        }
        QVERIFY2(m_session->startTarget("Other", "Other window", log("other"), {}, &error),
                 qPrintable(error));
        QTRY_COMPARE(m_session->activeWindow(), m_session->windowWithTitle("Other window"));

        X11Connection connection;
        X11WindowSystem windows(connection);
        X11KeystrokeSender keys(connection);
        ProcessShell shell;
        ScriptedPrompter prompter;
        RunningApps running(windows);
        CApp app(m_dir.filePath("data"), {prompter, windows, keys, shell, running});
        MemoryListBox list;
        // As the speech window does: the list is filled at start and after every phrase.
        running.FillRunningApps(list);
        QCOMPARE(app.AppCheck("editor"), qint16(1));
        running.FillRunningApps(list);
        QCOMPARE(app.VocabCheck("type hi"), qint16(2));
        QTRY_COMPARE(XvfbSession::keysLogged(log("editor")), QStringList({"H\th", "I\ti"}));
        QCOMPARE(XvfbSession::keysLogged(log("other")), QStringList());
        QVERIFY(prompter.shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestX11Dispatch)
#include "tst_x11dispatch.moc"
