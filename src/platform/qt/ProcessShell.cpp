#include "ProcessShell.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// xdg-open exit codes: 1 bad arguments, 2 file does not exist, 3 a tool it needs is missing,
// 4 the action failed.
ShellResult openerResult(int exitCode)
{
    switch (exitCode) {
    case 0:
        return ShellResult::Success;
    case 2:
        return ShellResult::FileNotFound;
    default:
        return ShellResult::NoAssociation;
    }
}

bool isUrl(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch() && !QFileInfo::exists(text);
}

// A path that does not exist: its folder is missing too, or only the file is.
ShellResult missingResult(const QFileInfo &info)
{
    return QFileInfo(info.absolutePath()).isDir() ? ShellResult::FileNotFound
                                                  : ShellResult::PathNotFound;
}

// Starts a program on its own. It gets no share of this process's standard streams: a started
// program must not die writing to a pipe that closed when this process ended.
bool startOnItsOwn(const QString &program, const QStringList &arguments,
                   const QString &workingDirectory = {})
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

} // namespace

ProcessShell::ProcessShell(int openerWaitMs) : m_openerWaitMs(openerWaitMs) {}

QString ProcessShell::expandEnvironment(const QString &path, const QProcessEnvironment &env)
{
    static const QRegularExpression reference(
        QStringLiteral("%([A-Za-z_][A-Za-z0-9_]*)%|\\$\\{([A-Za-z_][A-Za-z0-9_]*)\\}|"
                       "\\$([A-Za-z_][A-Za-z0-9_]*)"));
    QString result;
    qsizetype last = 0;
    auto it = reference.globalMatch(path);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString name = !m.captured(1).isEmpty()   ? m.captured(1)
                             : !m.captured(2).isEmpty() ? m.captured(2)
                                                        : m.captured(3);
        result += path.mid(last, m.capturedStart() - last);
        result += env.contains(name) ? env.value(name) : m.captured(0);
        last = m.capturedEnd();
    }
    result += path.mid(last);
    if (result == QLatin1String("~") || result.startsWith(QLatin1String("~/")))
        result.replace(0, 1, env.value(QStringLiteral("HOME"), QDir::homePath()));
    return result;
}

ShellResult ProcessShell::openDocument(const QString &document, const QString &startIn)
{
    const QString expanded =
        expandEnvironment(document.trimmed(), QProcessEnvironment::systemEnvironment());
    if (expanded.isEmpty())
        return ShellResult::FileNotFound;
    if (isUrl(expanded))
        return runOpener(expanded);
    const QFileInfo info(QDir(startIn).absoluteFilePath(expanded));
    if (!info.exists())
        return missingResult(info);
    if (info.isFile() && info.isExecutable()) {
        return startOnItsOwn(info.absoluteFilePath(), {}, startIn) ? ShellResult::Success
                                                                   : ShellResult::AccessDenied;
    }
    if (!info.isReadable())
        return ShellResult::AccessDenied;
    return runOpener(info.absoluteFilePath());
}

ShellResult ProcessShell::exploreFolder(const QString &folder)
{
    const QString expanded =
        expandEnvironment(folder.trimmed(), QProcessEnvironment::systemEnvironment());
    if (expanded.isEmpty())
        return ShellResult::PathNotFound;
    const QFileInfo info(QDir::current().absoluteFilePath(expanded));
    if (!info.isDir())
        return info.exists() ? ShellResult::FileNotFound : ShellResult::PathNotFound;
    if (!info.isReadable())
        return ShellResult::AccessDenied;
    return runOpener(info.absoluteFilePath());
}

bool ProcessShell::startCommandLine(const QString &commandLine, QString *error)
{
    QStringList parts = QProcess::splitCommand(
        expandEnvironment(commandLine.trimmed(), QProcessEnvironment::systemEnvironment()));
    if (parts.isEmpty()) {
        if (error)
            *error = QStringLiteral("The command line is empty.");
        return false;
    }
    const QString program = parts.takeFirst();
    if (startOnItsOwn(program, parts))
        return true;
    if (error)
        *error = QStringLiteral("%1 could not be started.").arg(program);
    return false;
}

ShellResult ProcessShell::runOpener(const QString &target)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return ShellResult::NoAssociation;
    // xdg-open waits for the program it starts on some desktops: an opener still running after
    // a short wait has started something, and is left to run on its own.
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({target});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process->start();
    if (!process->waitForStarted(m_openerWaitMs)) {
        delete process;
        return ShellResult::NoAssociation;
    }
    if (!process->waitForFinished(qMax<qint64>(1, m_openerWaitMs - clock.elapsed()))) {
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return ShellResult::Success;
    }
    const ShellResult result = process->exitStatus() == QProcess::NormalExit
                                   ? openerResult(process->exitCode())
                                   : ShellResult::NoAssociation;
    delete process;
    return result;
}
