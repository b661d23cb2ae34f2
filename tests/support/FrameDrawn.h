#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSet>
#include <QWidget>

// The window manager has framed the window and drawn its title bar: the strip above the window
// shows more than one colour. Screenshots wait for this, since on a busy machine the frame can
// come seconds after the window is shown.
inline bool frameDrawn(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const int height = window.geometry().y() - frame.y();
    if (frame.width() <= window.width() || height <= 0)
        return false;
    const QImage bar = QGuiApplication::primaryScreen()
                           ->grabWindow(0, frame.x(), frame.y(), frame.width(), height)
                           .toImage();
    QSet<QRgb> colours;
    for (int x = 0; x < bar.width() && colours.size() < 3; ++x)
        colours.insert(bar.pixel(x, bar.height() / 2));
    return colours.size() >= 3;
}
