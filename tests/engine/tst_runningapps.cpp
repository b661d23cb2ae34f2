#include "data/MemoryListBox.h"
#include "engine/RunningApps.h"
#include "platform/fake/FakeWindowSystem.h"

#include <QTest>

class TestRunningApps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Untitled windows are left out; the first window seen for an entry keeps it, whatever the
    // case, also after it closed and another took its place.
    void table()
    {
        FakeWindowSystem windows;
        windows.addWindow(1, "XTerm", "shell");
        windows.addWindow(2, "Untitled", "");
        windows.addWindow(3, "XTerm", "shell");
        windows.addWindow(4, "Gedit", "a ¦ b");
        RunningApps apps(windows);
        MemoryListBox list;
        list.addItem("stale");
        QCOMPARE(apps.FillRunningApps(list), 3);
        QCOMPARE(list.items(), QStringList({"XTerm ¦ shell", "XTerm ¦ shell", "Gedit ¦ a ¦ b"}));
        QCOMPARE(apps.RunningAppWindow("XTerm ¦ shell"), WindowId(1));
        QCOMPARE(apps.RunningAppWindow("xterm ¦ SHELL"), WindowId(1));
        QCOMPARE(apps.RunningAppWindow("Nothing ¦ here"), WindowId(0));

        windows.removeWindow(1);
        windows.removeWindow(3);
        windows.addWindow(5, "XTerm", "shell");
        apps.FillRunningApps(list);
        QCOMPARE(apps.RunningAppWindow("XTerm ¦ shell"), WindowId(1));
        QVERIFY(RunningApps::ListFindExact(list, "gedit ¦ A ¦ B"));
        QVERIFY(!RunningApps::ListFindExact(list, "Gedit ¦ a"));
    }

    // Windows are compared in the form the data files hold their entries: a character outside
    // the code page reads "?" and 255 characters are kept, so a window matches the entry it was
    // listed under, by class and title or by class alone.
    void storedForm_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("storedClass");
        QTest::addColumn<QString>("storedTitle");
        const auto row = [](const char *name, const QString &className, const QString &title,
                            const QString &storedClass, const QString &storedTitle) {
            QTest::newRow(name) << className << title << storedClass << storedTitle;
        };
        row("code page characters", "Jev€", "Second ¦ é window", "Jev€", "Second ¦ é window");
        row("outside the code page", "JevΩ", "Second ¦ Ω window", "Jev?", "Second ¦ ? window");
        row("long", QString(300, 'c'), QString(254, 't') + "ΩΩ", QString(255, 'c'),
            QString(254, 't') + "?");
    }

    void storedForm()
    {
        QFETCH(QString, className);
        QFETCH(QString, title);
        QFETCH(QString, storedClass);
        QFETCH(QString, storedTitle);
        FakeWindowSystem windows;
        windows.addWindow(7, className, title);
        RunningApps apps(windows);
        MemoryListBox list;
        apps.FillRunningApps(list);
        const QString entry = RunningApps::entryText(storedClass, storedTitle);
        QCOMPARE(list.items(), QStringList{entry});
        QCOMPARE(apps.RunningAppWindow(entry), WindowId(7));
        QCOMPARE(apps.windowClassName(7), storedClass);
        QCOMPARE(apps.windowTitle(7), storedTitle);
        QCOMPARE(apps.findApplicationWindow(storedClass, storedTitle), WindowId(7));
        QCOMPARE(apps.findApplicationWindow(storedClass, "another title"), WindowId(7));
        apps.setWindowMatching(RunningApps::WindowMatching::ExactTitle);
        QCOMPARE(apps.findApplicationWindow(storedClass, storedTitle), WindowId(7));
    }

    void splitEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("title");
        const auto row = [](const char *name, const QString &entry, const QString &className,
                            const QString &title) {
            QTest::newRow(name) << entry << className << title;
        };
        row("bar in the title", "Gedit ¦ a ¦ b", "Gedit", "a ¦ b");
        row("empty title", "XTerm ¦ ", "XTerm", "");
        row("no bar", "plain", "", "");
    }

    void splitEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, className);
        QFETCH(QString, title);
        const auto [c, t] = RunningApps::splitEntry(entry);
        QCOMPARE(c, className);
        QCOMPARE(t, title);
        if (!className.isEmpty())
            QCOMPARE(RunningApps::entryText(c, t), entry);
    }
};

QTEST_GUILESS_MAIN(TestRunningApps)
#include "tst_runningapps.moc"
