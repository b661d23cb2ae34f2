#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

QString ProgramFiles::folder(const QString &name)
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    QStringList candidates{exeDir + QLatin1Char('/') + name,
                           exeDir + QStringLiteral("/../share/jev/") + name};
    // A program or test run in its build tree finds them in the source tree.
    if (exeDir.startsWith(QStringLiteral(JEV_BUILD_DIR)))
        candidates.append(QStringLiteral(JEV_SOURCE_RESOURCES "/") + name);
    for (const QString &candidate : std::as_const(candidates)) {
        if (QFileInfo(candidate).isDir())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

QIcon ProgramFiles::icon(const QString &fileName)
{
    const QString path = folder(QStringLiteral("icons")) + QLatin1Char('/') + fileName;
    // QIcon accepts any path and draws nothing for what it cannot read: ask the reader first.
    if (!QImageReader(path).canRead())
        return {};
    return QIcon(path);
}
