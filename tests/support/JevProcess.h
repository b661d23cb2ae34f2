#pragma once

#include <QProcess>
#include <QStringList>

// Runs the jev program once and collects what it said.
struct JevResult
{
    int code = -1; // -1: it crashed or did not end in time
    QString out;
    QString err;
};

inline JevResult runJev(const QString &program, const QStringList &args,
                        const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
