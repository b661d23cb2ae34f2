#include "SpeechWindowSession.h"
#include "config/CHelp.h"
#include "engine/CApp.h"
#include "speech/frmWhatCanISay.h"

#include <QAction>
#include <QTextBrowser>
#include <QTreeWidget>

// "What Can I Say": the spoken names and the words of the application in front, following the
// front application as it changes.
class TestWhatCanISay : public SpeechWindowSession
{
    Q_OBJECT

private:
    // "group: say = does" lines of the list, in order.
    QStringList listed() const
    {
        auto *tree = m_window->whatCanISay().findChild<QTreeWidget *>("lstPhrases");
        QStringList lines;
        for (int g = 0; g < tree->topLevelItemCount(); ++g) {
            const QTreeWidgetItem *group = tree->topLevelItem(g);
            for (int i = 0; i < group->childCount(); ++i)
                lines.append(group->text(0) + ": " + group->child(i)->text(0) + " = " +
                             group->child(i)->text(1));
        }
        return lines;
    }
    QString frontLabel() const
    {
        return m_window->whatCanISay().findChild<QLabel *>("lblFront")->text();
    }

private Q_SLOTS:
    void init()
    {
        fresh();
        m_desktop->windows.addWindow(7, "Gedit", "notes - gedit");
        m_desktop->windows.addWindow(8, "XTerm", "shell");
        m_desktop->windows.addWindow(9, "Gimp", "picture");
        m_desktop->windows.setForeground(7);
        RecordFileBytes::write(
            data("VAppCmd.txt"),
            RecordFileBytes::file({"Gedit \xA6 notes - gedit*editor~Edit$gedit",
                                   "XTerm \xA6 shell*terminal~Shell$xterm", "Gimp \xA6 picture*"},
                                  270));
        RecordFileBytes::write(data("vocab/Edit.txt"),
                               RecordFileBytes::file({"save file:^s", "select all:^a"}, 128));
        RecordFileBytes::write(data("vocab/Shell.txt"),
                               RecordFileBytes::file({"clear screen:^l"}, 128));
        makeWindow();
        m_window->show();
    }

    // The list follows the window in front; the program's own windows leave it where it was.
    void followsTheFrontApplication()
    {
        m_window->findChild<QAction *>("mnuWhatCanISay")->trigger();
        QVERIFY(m_window->whatCanISay().isVisible());
        const QStringList names{"Spoken names: editor = switch to Gedit ¦ notes - gedit",
                                "Spoken names: terminal = switch to XTerm ¦ shell"};
        const QStringList editWords{"Words of Edit: save file = keys ^s",
                                    "Words of Edit: select all = keys ^a"};
        // The program's own phrases work in front of every application.
        const QStringList always{"Always: go to sleep = stop acting on commands",
                                 "Always: wake up = act on commands again"};
        QCOMPARE(listed(), names + editWords + always);
        QVERIFY(frontLabel().contains("Gedit ¦ notes - gedit"));

        m_desktop->windows.setForeground(8);
        QTRY_COMPARE(listed(),
                     names + QStringList{"Words of Shell: clear screen = keys ^l"} + always);
        QCOMPARE(m_window->whatCanISay().listedWindow(), WindowId(8));

        // A changed title of the same window: the words of its class still apply.
        m_desktop->windows.setTitle(8, "shell - vim");
        QTRY_VERIFY(frontLabel().contains("XTerm ¦ shell - vim"));
        QCOMPARE(listed(), names + QStringList{"Words of Shell: clear screen = keys ^l"} + always);

        // An application without a vocabulary: only the names work.
        m_desktop->windows.setForeground(9);
        QTRY_COMPARE(listed(), names + always);
        QVERIFY(frontLabel().contains("no vocabulary"));

        m_desktop->windows.addWindow(20, "jev", "What Can I Say - JEV! Voice Command");
        m_desktop->windows.setForeground(20);
        m_desktop->windows.setForeground(7);
        QTRY_COMPARE(m_window->whatCanISay().listedWindow(), WindowId(7));
        m_desktop->windows.setForeground(20);
        m_window->whatCanISay().followFront(); // as a poll does
        QCOMPARE(m_window->whatCanISay().listedWindow(), WindowId(7));
        QCOMPARE(listed().size(), 6);
    }

    // The engine lists no words for the program's own windows, since none are sent there.
    void noWordsForTheProgramsOwnWindows()
    {
        m_desktop->windows.addWindow(21, "jev", "JEV! Voice Control");
        CApp app(data(), m_desktop->services());
        QCOMPARE(app.WhatCanBeSaid(21).words, QStringList());
        QCOMPARE(app.WhatCanBeSaid(21).spokenNames.size(), 2);
        QCOMPARE(app.WhatCanBeSaid(7).words, QStringList({"save file:^s", "select all:^a"}));
    }

    // A click on the link in the help book's page opens the window.
    void openedFromTheHelp()
    {
        QWidget *shown = CHelp(m_window.get()).Show("jevhelp.chm", "desktop");
        auto *help = qobject_cast<QTextBrowser *>(shown);
        QVERIFY(help);
        QTextCursor link = help->document()->find("open it from here");
        QVERIFY(!link.isNull());
        help->setTextCursor(link);
        help->ensureCursorVisible();
        link.setPosition(link.selectionStart() + 3);
        const QPoint at = help->cursorRect(link).center();
        QVERIFY(!m_window->whatCanISay().isVisible());
        QTest::mouseClick(help->viewport(), Qt::LeftButton, {}, at);
        QTRY_VERIFY(m_window->whatCanISay().isVisible());
        help->close();
        m_window->whatCanISay().close();
        QTRY_VERIFY(!m_window->whatCanISay().isVisible());
    }
};

QTEST_MAIN(TestWhatCanISay)
#include "tst_whatcanisay.moc"
