#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

QString ProgramFiles::folder(const QString &name)
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    // Last, the source tree's resources: a test or a build run in place finds them there.
    for (const QString &candidate :
         {exeDir + QLatin1Char('/') + name, exeDir + QStringLiteral("/../share/jev/") + name,
          QStringLiteral(JEV_SOURCE_RESOURCES "/") + name}) {
        if (QFileInfo(candidate).isDir())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}
