#include "DataDirectory.h"

#include "DataFiles.h"
#include "StagedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString DataDirectory::choose(const Sources &sources)
{
    if (!sources.commandLine.isEmpty())
        return QDir(sources.commandLine).absolutePath();
    if (!sources.jevHome.isEmpty())
        return QDir(sources.jevHome).absolutePath();
    if (!sources.executableDir.isEmpty() &&
        QFileInfo(DataFiles::appListPath(sources.executableDir)).isFile())
        return sources.executableDir;
    const QString dataHome = sources.xdgDataHome.isEmpty()
                                 ? sources.home + QStringLiteral("/.local/share")
                                 : sources.xdgDataHome;
    return QDir(dataHome + QStringLiteral("/jev")).absolutePath();
}

DataDirectory::Sources DataDirectory::fromEnvironment(const QString &commandLineDir)
{
    return {commandLineDir, qEnvironmentVariable("JEV_HOME"),
            QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_DATA_HOME"),
            QDir::homePath()};
}

bool DataDirectory::prepare(const QString &dir, QString *error)
{
    if (!QFileInfo(dir).isDir() && !QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("The data directory %1 cannot be created.").arg(dir);
        return false;
    }
    const QString vocab = DataFiles::vocabFolder(dir);
    if (!QFileInfo(vocab).isDir() && !QDir().mkdir(vocab)) {
        if (error)
            *error = QStringLiteral("The vocabulary directory %1 cannot be created.").arg(vocab);
        return false;
    }
    // What rewrites that were interrupted left behind goes at every start, also the copies of
    // files that are not rewritten again.
    StagedFile::removeLeftoversIn(dir, [](const QString &name) {
        return name == DataFiles::appListFileName() || name == DataFiles::grammarFileName();
    });
    StagedFile::removeLeftoversIn(
        vocab, [](const QString &name) { return name.endsWith(QLatin1String(".txt")); });
    return true;
}
