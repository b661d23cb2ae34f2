#include "OnXvfb.h"
#include "SpeechWindowSession.h"
#include "config/ProgramFiles.h"
#include "config/frmAbout.h"
#include "recognizer/fake/FakeSoundSources.h"
#include "speech/VuMeterBar.h"
#include "speech/frmVolSet.h"
#include "speech/frmWhatCanISay.h"

#include <QDir>
#include <QImage>
#include <QScreen>
#include <QSet>

// Draws the speech window on Xvfb, with a window manager's frame, and saves what the screen
// shows to screenshots/frmJev.png in the build directory, for a person to look at.
class TestScreenshot : public SpeechWindowSession
{
    Q_OBJECT

private:
    // Pixels of the screen inside a widget that are close to a colour of one of its pictures.
    static int pixelsNear(QWidget *widget, QColor colour)
    {
        const QRect area(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                .toImage();
        int count = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                count += qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) +
                             qAbs(c.blue() - colour.blue()) <
                         30;
            }
        return count;
    }

private Q_SLOTS:
    void initTestCase() { QApplication::setWindowIcon(ProgramFiles::programIcon()); }
    // The program's icon and the web-site picture are on the screen, not only in the widgets.
    void aboutBox()
    {
        ScriptedPrompter prompter;
        frmAbout about(prompter);
        about.move(40, 40);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QImage shot;
        shoot(about, "frmAbout", &shot);
        QTRY_VERIFY2(pixelsNear(about.findChild<QWidget *>("picIcon"), QColor("#1f5fa8")) > 500,
                     "the program's icon is not on the screen");
        QTRY_VERIFY2(pixelsNear(about.findChild<QWidget *>("cmdBruWebSvr"), QColor("#4a86c5")) >
                         100,
                     "the web-site picture is not on the screen");
    }

    void whatCanISay()
    {
        fresh();
        m_desktop->windows.addWindow(7, "Gedit", "notes.txt - gedit");
        m_desktop->windows.setForeground(7);
        RecordFileBytes::write(
            data("VAppCmd.txt"),
            RecordFileBytes::file({"Gedit \xA6 notes.txt - gedit*editor~Editor$gedit",
                                   "Firefox-esr \xA6 Start*browser~Browser$firefox",
                                   "XTerm \xA6 shell*terminal~Terminal$xterm"},
                                  270));
        QDir().mkpath(data("vocab"));
        for (const QString sample : {"Editor.txt", "Browser.txt", "Terminal.txt"})
            QFile::copy(QStringLiteral(JEV_SOURCE_RESOURCES "/samples/") + sample,
                        data("vocab/" + sample));
        makeWindow();
        m_window->move(40, 40);
        m_window->show();
        m_window->showWhatCanISay();
        frmWhatCanISay &list = m_window->whatCanISay();
        list.move(40, 200);
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTRY_COMPARE(list.listedWindow(), WindowId(7));
        QImage shot;
        shoot(list, "frmWhatCanISay", &shot);
        QVERIFY(shot.width() > list.width());
    }

    void soundMeterWindow()
    {
        fresh(); // the user's own settings stay out of the picture
        VuMeterBar meter;
        FakeSoundSources sources;
        sources.setSources({{"usb", "USB Headset Mono"},
                            {"builtin", "Built-in Audio Analog Stereo"},
                            {"builtin.monitor", "Monitor of Built-in Audio Analog Stereo"}},
                           "builtin");
        frmVolSet window(meter, m_recognizer, nullptr, nullptr, &sources);
        window.move(40, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QImage shot;
        shoot(window, "frmVolSet", &shot);
        QVERIFY(shot.width() > window.width());
    }

    void speechWindow()
    {
        fresh();
        makeWindow();
        frmJev &window = *m_window;
        window.move(40, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        m_recognizer.level(1700);
        m_recognizer.hear("select all");
        QTRY_COMPARE(phraseShown(), QString("select all"));
        QTRY_COMPARE(window.meter().level(), 1700);

        // The controls keep their design order: meter left of the button, status bar below.
        const QRect meter = window.meter().geometry();
        const QRect button = window.findChild<QPushButton *>("cmdConfigure")->geometry();
        const QRect status = window.findChild<QWidget *>("stbVCmd")->geometry();
        QVERIFY(meter.right() < button.left());
        QVERIFY(status.top() > meter.bottom());
        QVERIFY(status.top() >= button.bottom() - 2);

        QImage shot;
        shoot(window, "frmJev", &shot);
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                colours.insert(shot.pixel(x, y));
        QVERIFY2(colours.size() > 20, "the screenshot is blank");

        // Clipped sound: the bar says so, in red.
        m_recognizer.inputCondition(Recognizer::InputCondition::Clipping);
        QTRY_VERIFY(window.meter().isTextVisible());
        // The repaint reaches the screen a moment after the widget has changed.
        QTRY_VERIFY2(pixelsNear(&window.meter(), QColor(0xc0, 0x1c, 0x28)) > 50,
                     "the red bar is not on the screen");
        shoot(window, "frmJevTooLoud", &shot);
    }
};

int main(int argc, char *argv[])
{
    return runOnXvfb<TestScreenshot>(argc, argv);
}

#include "tst_screenshot.moc"
