#include "recognizer/fake/FakeRecognizer.h"
#include "speech/VuMeterBar.h"
#include "speech/frmJev.h"
#include "support/FakeDesktop.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// Draws the speech window on Xvfb, with a window manager's frame, and saves what the screen
// shows to screenshots/frmJev.png in the build directory, for a person to look at.
class TestScreenshot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void speechWindow()
    {
        QTemporaryDir dir;
        FakeDesktop desktop;
        FakeRecognizer recognizer;
        frmJev window(dir.filePath("data"), desktop.services(), recognizer);
        window.load();
        window.move(40, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        recognizer.level(1700);
        recognizer.hear("select all");
        QTRY_COMPARE(window.findChild<QLabel *>("stbVCmdPhrase")->text(), QString("select all"));
        QTRY_COMPARE(window.meter().level(), 1700);

        // The controls keep their design order: meter left of the button, status bar below.
        const QRect meter = window.meter().geometry();
        const QRect button = window.findChild<QPushButton *>("cmdConfigure")->geometry();
        const QRect status = window.findChild<QWidget *>("stbVCmd")->geometry();
        QVERIFY(meter.right() < button.left());
        QVERIFY(status.top() > meter.bottom());
        QVERIFY(status.top() >= button.bottom() - 2);

        QTest::qWait(200); // let the window manager draw its frame
        const QRect frame = window.frameGeometry().adjusted(-10, -10, 10, 10);
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                                .toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                colours.insert(shot.pixel(x, y));
        QVERIFY2(colours.size() > 20, "the screenshot is blank");
        QDir().mkpath(QStringLiteral(JEV_SCREENSHOT_DIR));
        QVERIFY(shot.save(QStringLiteral(JEV_SCREENSHOT_DIR "/frmJev.png")));
    }
};

int main(int argc, char *argv[])
{
    XvfbSession session;
    QString error;
    if (!session.start(&error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestScreenshot test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenshot.moc"
