// Measures the peak memory of `jev recognize` for 1, 10 and 30 minutes of speech and silence:
// a minute of spoken commands (espeak-ng, then sox) is repeated to each length, and each file is
// recognized by a fresh `jev` process whose peak resident memory the kernel reports at its end.
// Usage: bench-recognize [JEV]   (default: the jev of this build; espeak-ng and sox must be
// installed; the sound files go to a temporary folder)

#include "data/CFile.h"
#include "support/RecordFileBytes.h"
#include "support/SynthesizedSpeech.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

const QStringList kPhrases{"select all", "save file", "undo", "page down", "refresh"};

// One minute of the phrases, each after a pause, at 16 kHz mono; the number of phrases said.
int makeMinute(const QString &dir, const QString &out, QString *error)
{
    QStringList pieces;
    double seconds = 0;
    for (int i = 0; seconds < 59; ++i) {
        const QString piece = dir + QStringLiteral("/piece%1.wav").arg(i);
        const double pause = 1.0 + i % 4; // between one and four seconds of silence
        if (!SynthesizedSpeech::say(QStringLiteral("espeak:en-us"),
                                    kPhrases.at(i % kPhrases.size()), piece, error, pause, 0.3))
            return -1;
        seconds += QFile(piece).size() / 32000.0;
        pieces.append(piece);
    }
    const QString speech = dir + QStringLiteral("/speech.wav");
    if (!SynthesizedSpeech::concatenate(pieces, speech, error) ||
        !SynthesizedSpeech::run("sox", {speech, out, "trim", "0", "60"}, error))
        return -1;
    return int(pieces.size());
}

struct Run
{
    long peakKb = -1;
    int exitCode = -1;
    int phrases = 0;
    double seconds = 0;
};

// Runs jev with these arguments, its output to outPath; the kernel's account of its peak
// resident memory comes with its end (wait4).
Run runJev(const QString &jev, const QStringList &args, const QString &outPath)
{
    QList<QByteArray> argBytes{jev.toLocal8Bit()};
    for (const QString &arg : args)
        argBytes.append(arg.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &arg : argBytes)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.toLocal8Bit().constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Run run;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid) {
            run.peakKb = usage.ru_maxrss;
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    run.seconds = clock.nsecsElapsed() / 1e9;
    QFile out(outPath);
    if (out.open(QIODevice::ReadOnly))
        run.phrases = int(out.readAll().count('\n'));
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString jev = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(JEV_BINARY);
    if (const QString missing = SynthesizedSpeech::missingTools(); !missing.isEmpty()) {
        err << "bench-recognize: " << missing << Qt::endl;
        return 1;
    }
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    RecordFileBytes::write(
        data + "/VAppCmd.txt",
        RecordFileBytes::file({"XTerm \xA6 shell*terminal~Editing$xterm"}, CFile::AppSlotLength));
    RecordFileBytes::write(data + "/vocab/Editing.txt",
                           RecordFileBytes::file({"select all:^a", "save file:^s", "undo:^z",
                                                  "page down:{PGDN}", "refresh:{F5}"},
                                                 CFile::VocabSlotLength));
    // The grammar as the program writes it; the settings in a folder of their own.
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    if (runJev(jev, {"--data-dir", data, "grammar"}, dir.filePath("grammar.out")).exitCode != 0) {
        err << "bench-recognize: jev grammar failed" << Qt::endl;
        return 1;
    }
    QString error;
    const QString minute = dir.filePath("1min.wav");
    const int perMinute = makeMinute(dir.path(), minute, &error);
    if (perMinute < 0) {
        err << "bench-recognize: " << error << Qt::endl;
        return 1;
    }
    out << "minutes  phrases said  recognized  peak resident memory  time" << Qt::endl;
    for (const int minutes : {1, 10, 30}) {
        const QString file = dir.filePath(QStringLiteral("%1min.wav").arg(minutes));
        if (minutes > 1 &&
            !SynthesizedSpeech::run("sox", {minute, file, "repeat", QString::number(minutes - 1)},
                                    &error)) {
            err << "bench-recognize: " << error << Qt::endl;
            return 1;
        }
        const Run run =
            runJev(jev, {"--data-dir", data, "recognize", file}, dir.filePath("phrases.out"));
        if (run.exitCode != 0) {
            err << "bench-recognize: jev recognize failed on " << file << Qt::endl;
            return 1;
        }
        out << QStringLiteral("%1  %2  %3  %4 MB  %5 s")
                   .arg(minutes, 7)
                   .arg(perMinute * minutes, 12)
                   .arg(run.phrases, 10)
                   .arg(run.peakKb / 1024.0, 17, 'f', 1)
                   .arg(run.seconds, 5, 'f', 0)
            << Qt::endl;
        if (minutes > 1)
            QFile::remove(file);
    }
    return 0;
}
