#include "ProgramSettings.h"

#include <QSettings>

int ProgramSettings::fullScale()
{
    const QSettings settings;
    bool ok = false;
    // Stored as text; a value written by hand may carry decimals.
    const double value = settings.value(QStringLiteral("Startup/VUMeter"), DefaultFullScale)
                             .toString()
                             .toDouble(&ok);
    return ok && value >= 1 && value <= 1000000 ? int(value) : DefaultFullScale;
}

void ProgramSettings::setFullScale(int value)
{
    QSettings settings;
    settings.setValue(QStringLiteral("Startup/VUMeter"), QString::number(value));
}

QByteArray ProgramSettings::windowPosition(const QString &window)
{
    const QSettings settings;
    return settings.value(QStringLiteral("Software/%1/Position").arg(window)).toByteArray();
}

void ProgramSettings::setWindowPosition(const QString &window, const QByteArray &geometry)
{
    QSettings settings;
    settings.setValue(QStringLiteral("Software/%1/Position").arg(window), geometry);
}

QString ProgramSettings::listeningKey()
{
    return QSettings()
        .value(QStringLiteral("Desktop/ListeningKey"), QStringLiteral("Ctrl+Alt+Space"))
        .toString();
}

void ProgramSettings::setListeningKey(const QString &keys)
{
    QSettings settings;
    settings.setValue(QStringLiteral("Desktop/ListeningKey"), keys);
}
