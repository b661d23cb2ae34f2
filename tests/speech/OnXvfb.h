#pragma once

#include "support/FrameDrawn.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <type_traits>

// Runs the test on Xvfb with openbox, with the xcb platform as on a desktop; a test that starts
// windows of its own there is handed the session.
template <typename Test> int runOnXvfb(int argc, char *argv[], const QString &screen = "1280x800")
{
    XvfbSession session;
    QString error;
    if (!session.start(&error, true, screen)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    if constexpr (std::is_constructible_v<Test, XvfbSession &>) {
        Test test(session);
        return QTest::qExec(&test, argc, argv);
    } else {
        Test test;
        return QTest::qExec(&test, argc, argv);
    }
}

#ifdef JEV_SCREENSHOT_DIR
// What the screen shows of a window with its frame, saved as screenshots/<name>.png for a person
// to look at. The frame is for that person only, and a window manager slowed down by a busy
// machine may not draw it in time: that is warned about, not failed.
inline void shoot(QWidget &window, const QString &name, QImage *shot = nullptr)
{
    if (!QTest::qWaitFor([&window] { return frameDrawn(window); }, 30000))
        qWarning("%s: the window manager drew no frame in 30 s", qPrintable(name));
    // What the test changed last may still wait for its repaint in the event queue.
    window.repaint();
    const QRect frame = window.frameGeometry().adjusted(-10, -10, 10, 10);
    const QImage image = QGuiApplication::primaryScreen()
                             ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                             .toImage();
    QDir().mkpath(QStringLiteral(JEV_SCREENSHOT_DIR));
    QVERIFY(image.save(QStringLiteral(JEV_SCREENSHOT_DIR "/") + name + QStringLiteral(".png")));
    if (shot)
        *shot = image;
}
#endif
