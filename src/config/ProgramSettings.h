#pragma once

#include <QByteArray>
#include <QString>

// The per-user settings of the windows ("DuveVuvuraru", file ~/.config/DuveVuvuraru/jev.conf):
// the level meter's full scale and the window positions.
class ProgramSettings
{
public:
    static constexpr int DefaultFullScale = 3000;

    // "Startup/VUMeter"; the default when absent or not a positive number.
    static int fullScale();
    static void setFullScale(int value);

    // "Software/<window>/Position": the saved geometry of a window, empty when none.
    static QByteArray windowPosition(const QString &window);
    static void setWindowPosition(const QString &window, const QByteArray &geometry);
};
