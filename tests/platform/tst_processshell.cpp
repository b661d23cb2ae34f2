#include "platform/qt/ProcessShell.h"
#include "support/RecordFileBytes.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Programs, documents and folders opened for real: processes, and xdg-open with a handler
// registered in a private XDG data home that logs what it was asked to open.
class TestProcessShell : public QObject
{
    Q_OBJECT

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static void writeFile(const QString &path, const QByteArray &text, bool executable = false)
    {
        RecordFileBytes::write(path, text);
        if (executable)
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }
    QString opened() const
    {
        QFile log(path("opened.log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).trimmed()
                                             : QString();
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("xdg-open").isEmpty() ||
            QStandardPaths::findExecutable("file").isEmpty())
            QFAIL("xdg-open and file are needed: install xdg-utils and file");
        QDir(m_dir.path()).mkpath("folder");
        writeFile(path("logger.sh"),
                  "#!/bin/sh\necho \"$1\" >> '" + path("opened.log").toUtf8() + "'\n", true);
        writeFile(path("data/applications/jev-logger.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Logger\nExec=" +
                      path("logger.sh").toUtf8() + " %f\nMimeType=inode/directory;text/plain;\n");
        writeFile(path("config/mimeapps.list"), "[Default Applications]\n"
                                                "inode/directory=jev-logger.desktop\n"
                                                "text/plain=jev-logger.desktop\n");
        qputenv("XDG_DATA_HOME", path("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
        qputenv("DISPLAY", ":99"); // xdg-open asks for a desktop only to be present
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DESKTOP_SESSION");
        qunsetenv("BROWSER");
        qputenv("JEV_TEST_FOLDER", path("folder").toUtf8());
    }

    void init() { QFile::remove(path("opened.log")); }

    void expandEnvironment_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expanded");
        const auto row = [](const char *name, const QString &path, const QString &expanded) {
            QTest::newRow(name) << path << expanded;
        };
        row("percent", "%HOME%/x", "/home/me/x");
        row("dollar", "$HOME/x", "/home/me/x");
        row("braces", "${HOME}x", "/home/mex");
        row("tilde", "~/docs", "/home/me/docs");
        row("tilde inside stays", "a~/b", "a~/b");
        row("unknown stays", "%NOPE%/$NOPE", "%NOPE%/$NOPE");
        row("two", "$A$B", "12");
        row("lone signs", "50% $ off", "50% $ off");
    }

    void expandEnvironment()
    {
        QFETCH(QString, path);
        QFETCH(QString, expanded);
        QProcessEnvironment env;
        env.insert("HOME", "/home/me");
        env.insert("A", "1");
        env.insert("B", "2");
        QCOMPARE(ProcessShell::expandEnvironment(path, env), expanded);
    }

    // explore: opened as a folder rather than as a document or program.
    void openDocument_data()
    {
        QTest::addColumn<bool>("explore");
        QTest::addColumn<QString>("document");
        QTest::addColumn<ShellResult>("result");
        QTest::addColumn<QString>("logged");
        QTest::newRow("text file through its handler")
            << false << "notes.txt" << ShellResult::Success << "notes.txt";
        QTest::newRow("missing file") << false << "missing.txt" << ShellResult::FileNotFound << "";
        QTest::newRow("missing folder")
            << false << "no/such/file.txt" << ShellResult::PathNotFound << "";
        QTest::newRow("no application for it")
            << false << "image.xyz" << ShellResult::NoAssociation << "";
        QTest::newRow("program started")
            << false << "program.sh" << ShellResult::Success << "program ran";
        QTest::newRow("folder from a variable")
            << false << "$JEV_TEST_FOLDER" << ShellResult::Success << "folder";
        QTest::newRow("explore a folder") << true << "folder" << ShellResult::Success << "folder";
        QTest::newRow("explore a missing folder")
            << true << "no/such" << ShellResult::PathNotFound << "";
        QTest::newRow("explore a file") << true << "notes.txt" << ShellResult::FileNotFound << "";
    }

    void openDocument()
    {
        QFETCH(bool, explore);
        QFETCH(QString, document);
        QFETCH(ShellResult, result);
        QFETCH(QString, logged);
        writeFile(path("notes.txt"), "text\n");
        writeFile(path("image.xyz"), QByteArray("\x89\x01\x02\xff\xfe binary"));
        writeFile(path("program.sh"),
                  "#!/bin/sh\necho 'program ran' >> '" + path("opened.log").toUtf8() + "'\n", true);
        ProcessShell shell(30000);      // a busy machine must not turn a failure into a success
        QDir::setCurrent(m_dir.path()); // where a folder to explore is found
        QCOMPARE(explore ? shell.exploreFolder(document)
                         : shell.openDocument(document, m_dir.path()),
                 result);
        if (logged.isEmpty()) {
            QCOMPARE(opened(), QString());
        } else {
            QTRY_VERIFY2(opened().endsWith(logged), qPrintable(opened()));
        }
    }

    void startCommandLine()
    {
        ProcessShell shell;
        QVERIFY(shell.startCommandLine("sh -c \"echo 'started with args' >> '" +
                                       path("opened.log") + "'\""));
        QTRY_COMPARE(opened(), QString("started with args"));
        QString error;
        QVERIFY(!shell.startCommandLine("/no/such/program --x", &error));
        QVERIFY(error.contains("/no/such/program"));
        QVERIFY(!shell.startCommandLine("   ", &error));
    }
};

QTEST_GUILESS_MAIN(TestProcessShell)
#include "tst_processshell.moc"
