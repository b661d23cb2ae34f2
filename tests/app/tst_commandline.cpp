#include "support/JevProcess.h"
#include "support/TempDataDir.h"

#include <QProcess>
#include <QTest>

// The jev command line, run as a process on real data directories.
class TestCommandLine : public QObject
{
    Q_OBJECT

private:
    using Result = JevResult;

    // Runs jev on the test's data directory, unless withDataDir is false; the XDG folders are
    // inside it too, where no data file goes.
    Result jev(const QStringList &args, const QStringList &extraEnv = {}, bool withDataDir = true)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("JEV_HOME");
        env.insert("XDG_DATA_HOME", m_dir->path() + "/xdg-data");
        env.insert("XDG_CONFIG_HOME", m_dir->path() + "/xdg-config");
        for (const QString &e : extraEnv)
            env.insert(e.section('=', 0, 0), e.section('=', 1));
        const QStringList dataDir =
            withDataDir ? QStringList{"--data-dir", m_dir->path()} : QStringList{};
        return runJev(JEV_BINARY, dataDir + args, env);
    }

    void ok(const Result &r) const
    {
        QVERIFY2(r.code == 0, qPrintable(QString("exit %1: %2").arg(r.code).arg(r.err)));
    }

    std::unique_ptr<TempDataDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<TempDataDir>(); }

    void addSetDeleteAndList()
    {
        ok(jev({"apps", "add", "Gedit ¦ notes"}));
        ok(jev({"apps", "add", "XTerm ¦ shell"}));
        ok(jev({"apps", "set", "1", "terminal", "Editing", "/usr/bin/xterm"}));
        ok(jev({"apps", "delete", "0"}));
        const Result list = jev({"apps"});
        ok(list);
        QCOMPARE(list.out, QString("XTerm ¦ shell\tterminal\tEditing\t/usr/bin/xterm\n"));
        QCOMPARE(m_dir->apps(),
                 QList<QByteArray>({"XTerm \xA6 shell*terminal~Editing$/usr/bin/xterm"}));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "Usage: jev";
        QTest::newRow("missing argument") << QStringList{"apps", "add"} << 2 << "Usage: jev";
        QTest::newRow("position not a number")
            << QStringList{"apps", "set", "x", "a", "b", "c"} << 2 << "POS";
        QTest::newRow("delete past the end") << QStringList{"apps", "delete", "5"} << 1
                                             << "You must first select a voice-controlled";
        QTest::newRow("a data error")
            << QStringList{"words", "add", "Editing", QString(127, 'w')} << 1 << "13012";
    }

    // A refused task says why and changes no file.
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        m_dir->writeApps({"XTerm \xA6 shell*"});
        m_dir->writeVocab("Editing", {"select all:^a"});
        const QByteArray apps = RecordFileBytes::read(m_dir->appFile());
        const QByteArray words = RecordFileBytes::read(m_dir->vocabFile("Editing"));

        const Result r = jev(args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(RecordFileBytes::read(m_dir->appFile()), apps);
        QCOMPARE(RecordFileBytes::read(m_dir->vocabFile("Editing")), words);
        QCOMPARE(m_dir->vocabFiles(), QStringList({"Editing.txt"}));
    }

    void words()
    {
        ok(jev({"vocabs", "new", "Editing"}));
        ok(jev({"words", "add", "Editing", "select all:^a"}));
        ok(jev({"words", "add", "Editing", "save:^s"}));
        ok(jev({"words", "add", "Editing", "quit:^q"}));
        ok(jev({"words", "set", "Editing", "1", "save file:^s"}));
        ok(jev({"words", "delete", "Editing", "0"}));
        QCOMPARE(jev({"words", "Editing"}).out, QString("save file:^s\nquit:^q\n"));
        ok(jev({"vocabs", "new", "Browsing"}));
        QCOMPARE(jev({"vocabs"}).out, QString("Browsing\nEditing\n"));
        ok(jev({"vocabs", "delete", "Browsing"}));
        QCOMPARE(jev({"vocabs"}).out, QString("Editing\n"));

        ok(jev({"apps", "add", "Gedit ¦ notes"}));
        ok(jev({"apps", "set", "0", "editor", "Editing", "gedit"}));
        const Result grammar = jev({"grammar"});
        ok(grammar);
        QCOMPARE(grammar.out, m_dir->path() + "/temp.txt\n");
        QCOMPARE(RecordFileBytes::read(m_dir->path() + "/temp.txt"),
                 QByteArray("[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n"
                            "<start>=switch to\r\n<start>=editor\r\n<start>=save file\r\n"
                            "<start>=quit\r\n"));
    }

    // --help names the window's options and every task the program runs; --version the version.
    void helpAndVersion()
    {
        const Result help = jev({"--help"}, {}, false);
        ok(help);
        QStringList lines{"--audio-file F.wav", "--version", "Ctrl+Alt+Space", "What Can I Say"};
        for (const QString &task : QString("apps|apps add|apps set|apps delete|vocabs|vocabs new|"
                                           "vocabs delete|words|words add|words set|words delete|"
                                           "grammar|windows|say|keys|recognize|samples|samples add")
                                       .split('|'))
            lines.append("  " + task + " ");
        for (const QString &line : lines)
            QVERIFY2(help.out.contains(line), qPrintable(line));
        const Result version = jev({"--version"}, {}, false);
        ok(version);
        QCOMPARE(version.out, QString("jev (JEV! Voice Command) " JEV_VERSION "\n"));
    }

    void dataDirectoryRule()
    {
        const QString home = m_dir->path() + "/jev-home";
        ok(jev({"apps", "add", "From ¦ env"}, {"JEV_HOME=" + home}, false));
        QVERIFY(QFile::exists(home + "/VAppCmd.txt"));
        QVERIFY(QFileInfo(home + "/vocab").isDir());
        ok(jev({"apps", "add", "From ¦ xdg"}, {}, false));
        QVERIFY(QFile::exists(m_dir->path() + "/xdg-data/jev/VAppCmd.txt"));
    }

    void damagedFile()
    {
        QByteArray bytes = RecordFileBytes::file({"A \xA6 a*"}, 270);
        bytes += QByteArray::fromHex("2001") + QByteArray(268, 'x');
        RecordFileBytes::write(m_dir->appFile(), bytes);
        const Result r = jev({"apps"});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, QString("A ¦ a\t\t\t\n"));
        QVERIFY2(r.err.contains("record 2") && r.err.contains("13011"), qPrintable(r.err));
        QCOMPARE(jev({"apps", "delete", "0"}).code, 1);
        QCOMPARE(RecordFileBytes::read(m_dir->appFile()), bytes);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
