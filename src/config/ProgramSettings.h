#pragma once

#include <QByteArray>
#include <QString>

// The per-user settings of the windows ("DuveVuvuraru", file ~/.config/DuveVuvuraru/jev.conf):
// the level meter's full scale, the listening key and the window positions.
class ProgramSettings
{
public:
    static constexpr int DefaultFullScale = 3000;

    // "Startup/VUMeter"; the default when absent or not a positive number.
    static int fullScale();
    static void setFullScale(int value);

    // "Desktop/ListeningKey": the key combination that switches listening off and on from any
    // window, as Qt writes key sequences; empty when the user wants none.
    static QString listeningKey();
    static void setListeningKey(const QString &keys);

    // "Software/<window>/Position": the saved geometry of a window, empty when none.
    static QByteArray windowPosition(const QString &window);
    static void setWindowPosition(const QString &window, const QByteArray &geometry);
};
