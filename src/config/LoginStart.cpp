#include "LoginStart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

QString LoginStart::entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/jev.desktop");
}

bool LoginStart::isEnabled()
{
    return QFileInfo(entryPath()).isFile();
}

QByteArray LoginStart::entryText(const QString &programPath)
{
    // An Exec argument with blanks or quotes is quoted, its quotes and backslashes escaped;
    // then, as in every string of the file, each backslash is written twice.
    QString exec = programPath;
    if (exec.contains(QRegularExpression(QStringLiteral("[\\s\"'\\\\$`]")))) {
        exec.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        for (const char c : {'"', '`', '$'})
            exec.replace(QLatin1Char(c), QStringLiteral("\\") + QLatin1Char(c));
        exec = QLatin1Char('"') + exec + QLatin1Char('"');
    }
    exec.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=JEV! Voice Command\n"
                          "Comment=Command a computer with voice.\n"
                          "Exec=%1\n"
                          "Icon=jev\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec)
        .toUtf8();
}

bool LoginStart::setEnabled(bool enabled, QString *error)
{
    const QString path = entryPath();
    if (!enabled) {
        QFile entry(path);
        if (entry.exists() && !entry.remove()) {
            *error = QStringLiteral("%1 cannot be removed: %2").arg(path, entry.errorString());
            return false;
        }
        return true;
    }
    if (!QDir().mkpath(QFileInfo(path).path())) {
        *error = QStringLiteral("The folder %1 cannot be made.").arg(QFileInfo(path).path());
        return false;
    }
    QSaveFile entry(path);
    if (!entry.open(QIODevice::WriteOnly) ||
        entry.write(entryText(QCoreApplication::applicationFilePath())) < 0 || !entry.commit()) {
        *error = QStringLiteral("%1 cannot be written: %2").arg(path, entry.errorString());
        return false;
    }
    return true;
}
