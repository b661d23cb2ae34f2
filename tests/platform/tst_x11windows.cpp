#include "platform/x11/X11Connection.h"
#include "platform/x11/X11WindowSystem.h"
#include "support/XvfbSession.h"

#include <QTemporaryDir>
#include <QTest>

// The X11 window system on a real X server, with and without a window manager.
class TestX11Windows : public QObject
{
    Q_OBJECT

private:
    static QStringList entries(X11WindowSystem &windows)
    {
        QStringList list = stacked(windows, WindowSystem::Order::Listing);
        list.sort();
        return list;
    }
    static QStringList stacked(X11WindowSystem &windows,
                               WindowSystem::Order order = WindowSystem::Order::Stacking)
    {
        QStringList list;
        for (const TopLevelWindow &w : windows.topLevelWindows(order))
            list.append(w.className + " | " + w.title);
        return list;
    }
    static WindowId idOf(X11WindowSystem &windows, const QString &title)
    {
        for (const TopLevelWindow &w : windows.topLevelWindows()) {
            if (w.title == title)
                return w.id;
        }
        return 0;
    }

    QTemporaryDir m_logs;

private Q_SLOTS:
    void listActivateAndRestore()
    {
        XvfbSession session;
        QString error;
        QVERIFY2(session.start(&error), qPrintable(error));
        QVERIFY2(session.startTarget("JevOne", "First window", m_logs.filePath("1"),
                                     {"--dialog", "Owned dialog", "--hidden", "Hidden window"},
                                     &error),
                 qPrintable(error));
        QVERIFY2(session.startTarget("JevTwo", "Second ¦ Ω window", m_logs.filePath("2"),
                                     {"--minimized"}, &error),
                 qPrintable(error));
        QVERIFY(session.waitForTitle("Owned dialog"));

        X11Connection connection;
        X11WindowSystem windows(connection);
        QVERIFY(windows.isAvailable());
        // The minimized window is listed; the owned dialog and the hidden window are not. Titles
        // come back as the window has them, whatever the data files' code page can hold.
        QTRY_COMPARE(entries(windows),
                     QStringList({"JevOne | First window", "JevTwo | Second ¦ Ω window"}));

        const WindowId first = idOf(windows, "First window");
        const WindowId second = idOf(windows, "Second ¦ Ω window");
        QVERIFY(first && second && first != second);
        QCOMPARE(windows.windowClassName(second), QString("JevTwo"));
        QCOMPARE(windows.windowTitle(second), QString("Second ¦ Ω window"));

        QVERIFY(windows.forceForeground(first));
        QCOMPARE(windows.foregroundWindow(), first);
        QCOMPARE(windows.windowTitle(windows.foregroundWindow()), QString("First window"));
        // The owned dialog lies on top of its window, but it is no application window.
        QCOMPARE(stacked(windows).constLast(), QString("JevOne | First window"));
        QVERIFY(windows.forceForeground(second)); // restores it from minimized
        QCOMPARE(windows.foregroundWindow(), second);
        QVERIFY(windows.forceForeground(second));
        QCOMPARE(stacked(windows),
                 QStringList({"JevOne | First window", "JevTwo | Second ¦ Ω window"}));

        // A window that does not exist is an X error, which must not end the program.
        const unsigned long errorsBefore = X11Connection::errorCount();
        QCOMPARE(windows.windowTitle(0x3fffff1), QString());
        QCOMPARE(windows.windowClassName(0x3fffff1), QString());
        QVERIFY(!windows.forceForeground(0x3fffff1, 50));
        QVERIFY(X11Connection::errorCount() > errorsBefore);
    }

    void withoutWindowManager()
    {
        XvfbSession session;
        QString error;
        QVERIFY2(session.start(&error, false), qPrintable(error));
        QVERIFY2(session.startTarget("JevOne", "Alone", m_logs.filePath("3"), {}, &error),
                 qPrintable(error));
        QVERIFY2(session.startTarget("JevTwo", "Other", m_logs.filePath("4"), {}, &error),
                 qPrintable(error));
        QVERIFY2(session.startTarget("JevOne", "Later", m_logs.filePath("5"), {}, &error),
                 qPrintable(error));
        X11Connection connection;
        X11WindowSystem windows(connection);
        QTRY_COMPARE(entries(windows),
                     QStringList({"JevOne | Alone", "JevOne | Later", "JevTwo | Other"}));
        QCOMPARE(stacked(windows),
                 QStringList({"JevOne | Alone", "JevTwo | Other", "JevOne | Later"}));
        const WindowId alone = idOf(windows, "Alone");
        QVERIFY(windows.forceForeground(alone));
        QCOMPARE(windows.foregroundWindow(), alone);
        QCOMPARE(stacked(windows),
                 QStringList({"JevTwo | Other", "JevOne | Later", "JevOne | Alone"}));
    }

    void noDisplay()
    {
        X11Connection connection(":987");
        X11WindowSystem windows(connection);
        QString reason;
        QVERIFY(!windows.isAvailable(&reason));
        QVERIFY2(reason.contains(":987"), qPrintable(reason));
        QVERIFY(windows.topLevelWindows().isEmpty());
        QCOMPARE(windows.foregroundWindow(), WindowId(0));
    }
};

QTEST_GUILESS_MAIN(TestX11Windows)
#include "tst_x11windows.moc"
