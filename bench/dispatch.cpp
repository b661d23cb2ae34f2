// Measures phrase dispatch on a real X server: from handing a phrase to the dispatcher to the
// target window logging its last key (for a window with the title its record names, and for one
// whose title changed since, as an editor's does after the first key), and the time a switch
// between two windows takes.
// Usage: bench-dispatch [PHRASES]   (default 200; Xvfb and openbox must be installed)

#include "data/CFile.h"
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

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <ctime>

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Time stamps of the key lines a target logged.
QList<qint64> loggedTimes(const QString &logPath)
{
    QFile log(logPath);
    QList<qint64> times;
    if (log.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : log.readAll().split('\n')) {
            if (!line.isEmpty())
                times.append(line.left(line.indexOf('\t')).toLongLong());
        }
    }
    return times;
}

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(qMin(values.size() - 1, qsizetype(p * (values.size() - 1) + 0.5)));
}

QString figures(const QList<double> &ms)
{
    return QStringLiteral("median %1 ms, p90 %2 ms, max %3 ms (%4 runs)")
        .arg(percentile(ms, 0.5), 0, 'f', 2)
        .arg(percentile(ms, 0.9), 0, 'f', 2)
        .arg(percentile(ms, 1.0), 0, 'f', 2)
        .arg(ms.size());
}

// Says "select all" to the application in front as often as asked; the call returns once the
// target processed the keys, so the key's time stamp is read right after it. Empty on failure.
QList<double> keystrokePhrases(CApp &app, const QString &logPath, int phrases)
{
    QList<double> keyMs;
    for (int i = 0; i < phrases; ++i) {
        const qsizetype before = loggedTimes(logPath).size();
        const qint64 start = monotonicNs();
        if (app.VocabCheck(QStringLiteral("select all")) != 2) {
            QTextStream(stderr) << "bench-dispatch: the phrase sent no keys" << Qt::endl;
            return {};
        }
        QList<qint64> times = loggedTimes(logPath);
        QDeadlineTimer deadline(1000);
        while (times.size() <= before && !deadline.hasExpired()) {
            QThread::usleep(200);
            times = loggedTimes(logPath);
        }
        if (times.size() <= before) {
            QTextStream(stderr) << "bench-dispatch: the target logged no key" << Qt::endl;
            return {};
        }
        keyMs.append((times.last() - start) / 1e6);
    }
    return keyMs;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const int phrases = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;

    XvfbSession session;
    QString error;
    QTemporaryDir dir;
    if (!session.start(&error) ||
        !session.startTarget("BenchOne", "Editor One", dir.filePath("one.log"), {}, &error) ||
        !session.startTarget("BenchTwo", "Editor Two", dir.filePath("two.log"), {}, &error) ||
        !session.startTarget("BenchThree", "Editor Three", dir.filePath("three.log"), {"--retitle"},
                             &error)) {
        QTextStream(stderr) << "bench-dispatch: " << error << Qt::endl;
        return 1;
    }
    const QString data = dir.filePath("data");
    RecordFileBytes::write(
        data + "/VAppCmd.txt",
        RecordFileBytes::file({"BenchOne \xA6 Editor One*one~Keys$/bin/true",
                               "BenchTwo \xA6 Editor Two*two~Keys$/bin/true",
                               "BenchThree \xA6 Editor Three*three~Keys$/bin/true"},
                              CFile::AppSlotLength));
    RecordFileBytes::write(
        data + "/vocab/Keys.txt",
        RecordFileBytes::file({"save:^s", "undo:^z", "select all:^a"}, CFile::VocabSlotLength));

    X11Connection connection;
    X11WindowSystem windows(connection);
    X11KeystrokeSender keys(connection);
    ProcessShell shell;
    ScriptedPrompter prompter;
    RunningApps running(windows);
    CApp app(data, {prompter, windows, keys, shell, running});
    MemoryListBox list;
    running.FillRunningApps(list);

    app.AppCheck(QStringLiteral("one"));
    const QList<double> keyMs = keystrokePhrases(app, dir.filePath("one.log"), phrases);
    // The first key changes the title; the record keeps naming the window by its old one.
    app.AppCheck(QStringLiteral("three"));
    const QList<double> retitledMs = keystrokePhrases(app, dir.filePath("three.log"), phrases);
    if (keyMs.isEmpty() || retitledMs.isEmpty())
        return 1;

    QList<double> switchMs;
    for (int i = 0; i < phrases / 2; ++i) {
        const QString name = i % 2 ? QStringLiteral("one") : QStringLiteral("two");
        const qint64 start = monotonicNs();
        app.AppCheck(name);
        switchMs.append((monotonicNs() - start) / 1e6);
        if (windows.windowTitle(windows.foregroundWindow()) !=
            (i % 2 ? QStringLiteral("Editor One") : QStringLiteral("Editor Two"))) {
            QTextStream(stderr) << "bench-dispatch: a switch did not happen" << Qt::endl;
            return 1;
        }
    }

    out << "keystroke phrase to last key logged: " << figures(keyMs) << "\n";
    out << "  the same, window title changed:    " << figures(retitledMs) << "\n";
    out << "window switch by spoken name:        " << figures(switchMs) << "\n";
    return 0;
}
