// Measures the program's start: the time from starting the process to listening, then memory
// and processor use while it listens to silence.
// Usage: bench-startup [SECONDS]   (default 60; Xvfb and openbox must be installed)

#include "data/CFile.h"
#include "support/RecordFileBytes.h"
#include "support/XvfbSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QtEndian>
#include <unistd.h>

namespace {

// One second of 16 kHz 16-bit mono silence: the source plays it, then goes on with silence.
QByteArray silentWav()
{
    const quint32 dataBytes = 16000 * 2;
    QByteArray wav("RIFF", 4);
    auto put32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto put16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    put32(36 + dataBytes);
    wav.append("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(1);
    put32(16000);
    put32(32000);
    put16(2);
    put16(16);
    wav.append("data", 4);
    put32(dataBytes);
    wav.append(QByteArray(dataBytes, '\0'));
    return wav;
}

// Kilobytes of a "VmRSS:"-style line of /proc/PID/status.
qint64 statusKb(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Clock ticks of processor time the process has used (user + system).
qint64 cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;

    XvfbSession session;
    QString error;
    if (!session.start(&error)) {
        err << "bench-startup: " << error << Qt::endl;
        return 1;
    }
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    RecordFileBytes::write(data + "/VAppCmd.txt",
                           RecordFileBytes::file({"XTerm \xA6 shell*terminal~Editing$xterm",
                                                  "Gedit \xA6 notes*editor~Editing$gedit"},
                                                 CFile::AppSlotLength));
    RecordFileBytes::write(data + "/vocab/Editing.txt",
                           RecordFileBytes::file({"select all:^a", "save file:^s", "undo:^z",
                                                  "page down:{PGDN}", "refresh:{F5}"},
                                                 CFile::VocabSlotLength));
    RecordFileBytes::write(dir.filePath("silence.wav"), silentWav());

    QProcess jev;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("QT_QPA_PLATFORM", "xcb");
    jev.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    jev.start(QStringLiteral(JEV_BINARY),
              {"--data-dir", data, "--audio-file", dir.filePath("silence.wav")});
    QByteArray said;
    while (!said.contains("Listening.") && clock.elapsed() < 30000 &&
           jev.state() != QProcess::NotRunning) {
        jev.waitForReadyRead(5);
        said += jev.readAllStandardError();
    }
    const double startMs = clock.nsecsElapsed() / 1e6;
    if (!said.contains("Listening.")) {
        err << "bench-startup: the program did not start listening:\n" << said << Qt::endl;
        return 1;
    }
    out << "start to listening:       " << QString::number(startMs, 'f', 0) << " ms" << Qt::endl;

    const qint64 pid = jev.processId();
    const qint64 ticksBefore = cpuTicks(pid);
    QElapsedTimer listening;
    listening.start();
    QThread::sleep(seconds);
    const double elapsed = listening.nsecsElapsed() / 1e9;
    const double cpu = 100.0 * (cpuTicks(pid) - ticksBefore) / sysconf(_SC_CLK_TCK) / elapsed;
    out << "memory while listening:   " << statusKb(pid, "VmRSS:") / 1024 << " MB (peak "
        << statusKb(pid, "VmHWM:") / 1024 << " MB)" << Qt::endl;
    out << "processor while listening: " << QString::number(cpu, 'f', 2) << " % of one core over "
        << QString::number(elapsed, 'f', 0) << " s" << Qt::endl;
    jev.terminate();
    jev.waitForFinished(5000);
    return 0;
}
