#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

QString ProgramFiles::folder(const QString &name)
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    for (const QString &candidate :
         {exeDir + QLatin1Char('/') + name, exeDir + QStringLiteral("/../share/jev/") + name}) {
        if (QFileInfo(candidate).isDir())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}
