#include "RecognizerSettings.h"

#include <QSettings>

namespace {

const char kGroup[] = "Recognizer";
const char kSensitivity[] = "Sensitivity";
const char kMicrophone[] = "Microphone";
const char kMicrophoneDescription[] = "MicrophoneDescription";
// The speech window's level meter keeps its full scale here (as text).
const char kFullScale[] = "Startup/VUMeter";

} // namespace

int RecognizerSettings::sensitivity()
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kGroup));
    bool ok = false;
    const int value = settings.value(QLatin1String(kSensitivity)).toInt(&ok);
    return ok && value >= 0 && value <= 100 ? value : DefaultSensitivity;
}

void RecognizerSettings::setSensitivity(int value)
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kGroup));
    settings.setValue(QLatin1String(kSensitivity), qBound(0, value, 100));
}

int RecognizerSettings::voiceLevel()
{
    const QSettings settings;
    bool ok = false;
    const double value = settings.value(QLatin1String(kFullScale)).toString().toDouble(&ok);
    return ok && value >= 1 && value <= 1000000 ? voiceLevelForFullScale(int(value)) : 0;
}

SoundSource RecognizerSettings::microphone()
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kGroup));
    return {settings.value(QLatin1String(kMicrophone)).toString(),
            settings.value(QLatin1String(kMicrophoneDescription)).toString()};
}

void RecognizerSettings::setMicrophone(const SoundSource &source)
{
    QSettings settings;
    settings.beginGroup(QLatin1String(kGroup));
    if (source.name.isEmpty()) {
        settings.remove(QLatin1String(kMicrophone));
        settings.remove(QLatin1String(kMicrophoneDescription));
        return;
    }
    settings.setValue(QLatin1String(kMicrophone), source.name);
    settings.setValue(QLatin1String(kMicrophoneDescription), source.description);
}
