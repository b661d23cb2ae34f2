#include "ConfigWindowSession.h"

#include <QLineEdit>

// The application window on Xvfb: drags between its lists with the mouse, as Qt carries them out
// on X11 (the offscreen platform has no drag and drop), and screenshots for a person to look at.
class TestFrmAppX11 : public ConfigWindowSession
{
    Q_OBJECT

private:
    frmApp &window() { return m_window->configWindows().app(); }
    template <typename T> T *child(const char *name) { return window().findChild<T *>(name); }
    // Presses on a line of the running applications, moves past the drag distance and lets go
    // over the point `to` of the widget `over`, all as mouse events of the window system.
    void drag(int line, QWidget *over, QPoint to)
    {
        auto *from = child<QListWidget>("lstRunApp");
        const QPoint start = lineCentre(from, line);
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

private Q_SLOTS:
    void init()
    {
        fresh();
        m_desktop->windows.addWindow(7, "Gedit", "notes - gedit");
        m_desktop->windows.addWindow(8, "XTerm", "shell");
        m_desktop->windows.addWindow(9, "Firefox-esr", "Debian -- The Universal Operating System");
        writeVocab("Editing", {"select all:^a"});
        load({"Gedit \xA6 notes - gedit*editor~Editing$gedit",
              "Gone \xA6 old*old programs~Editing$"});
        window().vocabularyNames().addItem("Editing");
        window().move(30, 30);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

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
        child<QListWidget>("lstVAppCmd")->setCurrentRow(0);
        QCOMPARE(child<QLineEdit>("txtVActivate")->text(), QString("editor"));
        screenshot(window(), "frmApp");
        const QSize container = window().centralWidget()->size();
        window().resize(window().size() + container);
        QTRY_COMPARE(window().centralWidget()->size(), container * 2);
        screenshot(window(), "frmApp-2x");
    }
};

int main(int argc, char *argv[])
{
    // Room for the window at twice its size.
    return runOnXvfb<TestFrmAppX11>(argc, argv, "1920x1200");
}

#include "tst_frmappx11.moc"
