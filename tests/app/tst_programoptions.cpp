#include "app/ProgramOptions.h"

#include <QTest>

// The command line read into options, for the speech window and for the tasks alike.
class TestProgramOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // expected: "window DIR FILES", "task DIR WORDS", "help", "version", or "error WHY".
    void parse_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing: the window") << QStringList{} << "window  ";
        QTest::newRow("data dir, then audio files")
            << QStringList{"--data-dir", "d", "--audio-file", "a.wav", "b.wav"}
            << "window d a.wav,b.wav";
        QTest::newRow("audio files, then data dir")
            << QStringList{"--audio-file", "a.wav", "--data-dir=d=e"} << "window d=e a.wav";
        QTest::newRow("a task") << QStringList{"--data-dir", "d", "apps", "add", "--x"}
                                << "task d apps,add,--x";
        QTest::newRow("a task named like an option value")
            << QStringList{"--data-dir", "apps", "vocabs"} << "task apps vocabs";
        QTest::newRow("--help") << QStringList{"--data-dir", "d", "--help", "--bad"} << "help";
        QTest::newRow("help") << QStringList{"help", "apps"} << "help";
        QTest::newRow("--version") << QStringList{"--data-dir", "d", "--version", "x"} << "version";
        QTest::newRow("version is no task option")
            << QStringList{"apps", "--version"} << "task  apps,--version";
        QTest::newRow("audio files take no version")
            << QStringList{"--audio-file", "a.wav", "--version"}
            << "error unknown option --version";
        QTest::newRow("unknown option")
            << QStringList{"--bad", "apps"} << "error unknown option --bad";
        QTest::newRow("data dir without a directory")
            << QStringList{"--data-dir"} << "error --data-dir needs a directory";
        QTest::newRow("audio file without a file")
            << QStringList{"--audio-file", "--data-dir", "d"}
            << "error --audio-file needs at least one WAV file";
        QTest::newRow("audio files take no command")
            << QStringList{"--audio-file", "a.wav", "--data-dir", "d", "apps"}
            << "error unknown option apps";
        QTest::newRow("audio files take no help")
            << QStringList{"--audio-file", "a.wav", "--help"} << "error unknown option --help";
    }

    void parse()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        QString error;
        const std::optional<ProgramOptions> options = ProgramOptions::parse(args, &error);
        QString got = "error " + error;
        if (options && options->help)
            got = "help";
        else if (options && options->version)
            got = "version";
        else if (options)
            got = (options->task.isEmpty() ? "window " : "task ") + options->dataDir + ' ' +
                  (options->task.isEmpty() ? options->audioFiles : options->task).join(',');
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(TestProgramOptions)
#include "tst_programoptions.moc"
