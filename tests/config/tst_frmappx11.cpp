#include "config/ConfigWindows.h"
#include "config/frmApp.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/frmJev.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The application window on Xvfb: drags between its lists with the mouse, as Qt carries them out
// on X11 (the offscreen platform has no drag and drop), and screenshots for a person to look at.
class TestFrmAppX11 : public QObject
{
    Q_OBJECT

private:
    QString data(const QString &name) const { return m_dir->filePath("data/" + name); }
    QByteArrayList records() const
    {
        return RecordFileBytes::records(RecordFileBytes::read(data("VAppCmd.txt")), 270);
    }
    frmApp &window() { return m_jev->configWindows().app(); }
    template <typename T> T *child(const char *name) { return window().findChild<T *>(name); }
    // Presses on a line of the running applications, moves past the drag distance and lets go
    // over the point `to` of the widget `over`, all as mouse events of the window system.
    void drag(int line, QWidget *over, QPoint to)
    {
        auto *from = child<QListWidget>("lstRunApp");
        const QPoint start = from->visualItemRect(from->item(line)).center();
        QWidget *source = from->viewport();
        // The drag runs its own event loop from the first move on: the rest happens in it.
        QTimer::singleShot(50, [=] {
            QTest::mouseMove(over, to - QPoint(5, 5));
            QTest::mouseMove(over, to);
            QTest::mouseRelease(over, Qt::LeftButton, {}, to);
        });
        QTest::mousePress(source, Qt::LeftButton, {}, start);
        // The first move past the distance arms the drag, the next one starts it.
        for (const int step : {1, 2})
            QTest::mouseMove(source, start + step * QPoint(QApplication::startDragDistance(), 2));
    }
    void screenshot(const QString &name)
    {
        QTest::qWait(200); // the window manager draws its frame
        const QRect frame = window().frameGeometry().adjusted(-4, -4, 4, 4);
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                                .toImage();
        QDir().mkpath(QStringLiteral(JEV_SCREENSHOT_DIR));
        QVERIFY(shot.save(QStringLiteral(JEV_SCREENSHOT_DIR "/") + name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    FakeRecognizer m_recognizer;
    std::unique_ptr<frmJev> m_jev;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir->filePath("config"));
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->windows.addWindow(7, "Gedit", "notes - gedit");
        m_desktop->windows.addWindow(8, "XTerm", "shell");
        m_desktop->windows.addWindow(9, "Firefox-esr", "Debian -- The Universal Operating System");
        RecordFileBytes::write(
            data("VAppCmd.txt"),
            RecordFileBytes::file({"Gedit \xA6 notes - gedit*editor~Editing$gedit",
                                   "Gone \xA6 old*old programs~Editing$"},
                                  270));
        RecordFileBytes::write(data("vocab/Editing.txt"),
                               RecordFileBytes::file({"select all:^a"}, 128));
        m_jev = std::make_unique<frmJev>(data(""), m_desktop->services(), m_recognizer);
        m_jev->load();
        window().vocabularyNames().addItem("Editing");
        window().move(30, 30);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }
    void cleanup() { m_jev.reset(); }

    void dragAndDrop_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("dropOn");
        QTest::addColumn<QByteArrayList>("added");
        QTest::addColumn<int>("messages");
        QTest::newRow("new entry") << 1 << "lstVAppCmd" << QByteArrayList{"XTerm \xA6 shell*"} << 0;
        QTest::newRow("listed already") << 0 << "lstVAppCmd" << QByteArrayList() << 1;
        QTest::newRow("dropped elsewhere") << 1 << "txtVActivate" << QByteArrayList() << 0;
    }

    void dragAndDrop()
    {
        QFETCH(int, line);
        QFETCH(QString, dropOn);
        QFETCH(QByteArrayList, added);
        QFETCH(int, messages);
        const QByteArrayList before = records();
        const QString typed = child<QLineEdit>("txtVActivate")->text();
        auto *target = child<QWidget>(dropOn.toLatin1());
        QWidget *over = qobject_cast<QListWidget *>(target)
                            ? qobject_cast<QListWidget *>(target)->viewport()
                            : target;
        drag(line, over, over->rect().center());
        QTRY_COMPARE(records(), before + added);
        QTRY_COMPARE(m_desktop->prompter.shown().size(), messages);
        QCOMPARE(child<QListWidget>("lstVAppCmd")->count(), before.size() + added.size());
        // The running applications stay as they were.
        QCOMPARE(child<QListWidget>("lstRunApp")->count(), 3);
        QCOMPARE(child<QLineEdit>("txtVActivate")->text(), typed);
    }

    void screenshots()
    {
        auto *list = child<QListWidget>("lstVAppCmd");
        list->setCurrentRow(0);
        QCOMPARE(child<QLineEdit>("txtVActivate")->text(), QString("editor"));
        screenshot("frmApp.png");
        // Every caption fits its control at the design size.
        for (QLabel *label : window().findChildren<QLabel *>()) {
            if (label->isVisible())
                QVERIFY2(label->sizeHint().width() <= label->width(),
                         qPrintable(label->objectName()));
        }
        for (QPushButton *button : window().findChildren<QPushButton *>())
            QVERIFY2(button->sizeHint().width() <= button->width(),
                     qPrintable(button->objectName()));
        const QSize container = window().centralWidget()->size();
        window().resize(window().size() + container);
        QTRY_COMPARE(window().centralWidget()->size(), container * 2);
        screenshot("frmApp-2x.png");
    }
};

int main(int argc, char *argv[])
{
    XvfbSession session;
    QString error;
    if (!session.start(&error, true, "1920x1200")) { // room for the window at twice its size
        qCritical("%s", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestFrmAppX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmappx11.moc"
