// Measures how the editing of the data files grows with them: listing, adding, deleting and
// writing the grammar for application lists of 30, 300 and 3,000 entries and vocabularies of
// 100, 1,000 and 10,000 words, once through the engine in this process and once as a whole
// `jev` command (process start included).
// Usage: bench-data [RUNS]   (default 7; each figure is the median of RUNS, in milliseconds)

#include "engine/ApplicationList.h"
#include "engine/Vocabularies.h"
#include "support/RecordFileBytes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

constexpr int kAppSlot = 270;
constexpr int kVocabSlot = 128;
const QString kVocab = QStringLiteral("Editing");

QByteArray appRecord(int i)
{
    return QStringLiteral("Program%1 \u00a6 Document %1 - Editor*spoken name %1~%2$/usr/bin/prog%1")
        .arg(i)
        .arg(kVocab)
        .toLatin1();
}

QByteArray wordRecord(int i)
{
    return QStringLiteral("command number %1:^a{LEFT %2}").arg(i).arg(i % 9 + 1).toLatin1();
}

// A data directory with apps entries in VAppCmd.txt and one vocabulary of words words.
void fill(const QString &dir, int apps, int words)
{
    QList<QByteArray> records;
    for (int i = 0; i < apps; ++i)
        records.append(appRecord(i));
    RecordFileBytes::write(dir + QStringLiteral("/VAppCmd.txt"),
                           RecordFileBytes::file(records, kAppSlot));
    records.clear();
    for (int i = 0; i < words; ++i)
        records.append(wordRecord(i));
    RecordFileBytes::write(dir + QStringLiteral("/vocab/") + kVocab + QStringLiteral(".txt"),
                           RecordFileBytes::file(records, kVocabSlot));
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// The median wall time of runs calls of step, in milliseconds; each call gets its run number.
double timed(int runs, const std::function<void(int)> &step)
{
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step(run);
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// Runs jev with these arguments on the data directory; stops the benchmark when it fails, since
// a failed command would be timed for work it did not do.
void jev(const QString &dir, const QStringList &args)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(JEV_BINARY),
                  QStringList{QStringLiteral("--data-dir"), dir} + args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        QTextStream(stderr) << "jev " << args.join(' ')
                            << " failed: " << process.readAllStandardError() << Qt::endl;
        std::exit(1);
    }
}

struct Row
{
    double list, add, remove, grammar;
};

QString format(int size, const Row &engine, const Row &command)
{
    QString line = QStringLiteral("%1").arg(size, 8);
    for (double v : {engine.list, engine.add, engine.remove, engine.grammar, command.list,
                     command.add, command.remove, command.grammar})
        line += QStringLiteral("%1").arg(v, 9, 'f', 1);
    return line;
}

QString applications(int runs, int size)
{
    QTemporaryDir dir;
    fill(dir.path(), size, 20);
    ApplicationList list(dir.path());
    const Vocabularies vocabularies(dir.path());
    Row engine;
    engine.list = timed(runs, [&](int) { list.entries(); });
    engine.add =
        timed(runs, [&](int run) { list.add(QStringLiteral("Added%1 \u00a6 x").arg(run)); });
    engine.remove = timed(runs, [&](int) {
        const QStringList names = list.entries().names();
        list.remove(names, int(names.size() / 2));
    });
    engine.grammar = timed(runs, [&](int) { vocabularies.writeGrammar(); });
    const QString d = dir.path();
    Row command;
    command.list = timed(runs, [&](int) { jev(d, {"apps"}); });
    command.add = timed(runs, [&](int run) {
        jev(d, {"apps", "add", QStringLiteral("Cmd%1 \u00a6 y").arg(run)});
    });
    command.remove = timed(runs, [&](int) {
        jev(d, {"apps", "delete", QString::number(size / 2)});
    });
    command.grammar = timed(runs, [&](int) { jev(d, {"grammar"}); });
    return format(size, engine, command);
}

QString words(int runs, int size)
{
    QTemporaryDir dir;
    fill(dir.path(), 10, size);
    Vocabularies vocabularies(dir.path());
    Row engine;
    engine.list = timed(runs, [&](int) { vocabularies.words(kVocab); });
    engine.add = timed(runs, [&](int run) {
        vocabularies.addWord(kVocab, QStringLiteral("added %1:^b").arg(run));
    });
    engine.remove = timed(runs, [&](int) { vocabularies.deleteWord(kVocab, size / 2); });
    engine.grammar = timed(runs, [&](int) { vocabularies.writeGrammar(); });
    const QString d = dir.path();
    const QString index = QString::number(size / 2);
    Row command;
    command.list = timed(runs, [&](int) { jev(d, {"words", kVocab}); });
    command.add = timed(runs, [&](int run) {
        jev(d, {"words", "add", kVocab, QStringLiteral("cmd %1:^c").arg(run)});
    });
    command.remove = timed(runs, [&](int) { jev(d, {"words", "delete", kVocab, index}); });
    command.grammar = timed(runs, [&](int) { jev(d, {"grammar"}); });
    return format(size, engine, command);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = qMax(1, QCoreApplication::arguments().value(1, QStringLiteral("7")).toInt());
    QTextStream out(stdout);
    out << "bench-data: median of " << runs << " runs, milliseconds\n"
        << "                ---------- engine ----------    --------- jev command ---------\n"
        << "entries      list      add   delete  grammar     list      add   delete  grammar\n";
    for (int size : {30, 300, 3000})
        out << applications(runs, size) << "  applications\n";
    for (int size : {100, 1000, 10000})
        out << words(runs, size) << "  words\n";
    return 0;
}
