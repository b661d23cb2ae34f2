#include "ConfigWindowSession.h"
#include "config/EntryList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

// The application window, opened by the speech window's Configure button, with a fake desktop
// and recognizer, offscreen. Every edit is checked in VAppCmd.txt on disk.
class TestFrmApp : public ConfigWindowSession
{
    Q_OBJECT

private:
    static QStringList fields(frmApp &w)
    {
        return {child<QLineEdit>(w, "txtVActivate")->text(),
                child<QComboBox>(w, "cmbVocabulary")->currentText(),
                child<QLineEdit>(w, "txtPath")->text()};
    }

private Q_SLOTS:
    void init()
    {
        fresh();
        m_desktop->windows.addWindow(7, "Gedit", "notes - gedit");
        m_desktop->windows.addWindow(8, "XTerm", "shell");
        m_desktop->windows.addWindow(9, "gedit", "NOTES - GEDIT");
        for (const char *vocab : {"E", "F"})
            writeVocab(vocab, {"save:^s"});
        load({"Gedit \xA6 notes - gedit*editor~E$gedit"});
    }

    void opensFilledWithListeningOff()
    {
        QVERIFY(m_recognizer.isActive());
        whileAppOpen([&](frmApp &w) {
            QVERIFY(!m_recognizer.isActive());
            QCOMPARE(w.runningApps().count(), 3);
            QCOMPARE(w.vocabularyNames().count(), 2);
            QCOMPARE(w.applications().selectedIndex(), 0);
            QCOMPARE(fields(w), QStringList({"editor", "E", "gedit"}));
        });
    }

    void addEntry_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<int>("line");
        QTest::addColumn<Records>("added");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("dropped") << false << 1 << Records{"XTerm \xA6 shell*"} << QStringList();
        QTest::newRow("Ctrl+Shift+A") << true << 1 << Records{"XTerm \xA6 shell*"} << QStringList();
        QTest::newRow("listed, in another case")
            << false << 2 << Records()
            << QStringList{"JEV! Voice Command: You Already Have An Entry With This Name!"};
    }

    void addEntry()
    {
        QFETCH(bool, byKeyboard);
        QFETCH(int, line);
        QFETCH(Records, added);
        QFETCH(QStringList, shown);
        const Records before = records();
        whileAppOpen([&](frmApp &w) {
            auto *running = child<EntryList>(w, "lstRunApp");
            if (byKeyboard) {
                running->setCurrentRow(line);
                QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
            } else { // the drop as the list's model takes it, whether dragged or not
                std::unique_ptr<QMimeData> entry(
                    running->model()->mimeData({running->model()->index(line, 0)}));
                QVERIFY(child<EntryList>(w, "lstVAppCmd")
                            ->model()
                            ->dropMimeData(entry.get(), Qt::CopyAction, 0, 0, {}));
            }
            QTRY_COMPARE(messages(), shown); // the drop is handled after the drag has ended
            QTRY_COMPARE(records(), before + added);
            QCOMPARE(w.applications().count(), records().size());
            w.applications().setSelectedIndex(w.applications().count() - 1);
            if (!added.isEmpty())
                QCOMPARE(fields(w), QStringList({"", "", ""}));
        });
    }

    void save_data()
    {
        QTest::addColumn<Records>("file");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<Records>("saved");
        QTest::addColumn<QStringList>("fieldsAfter");
        QTest::addColumn<QString>("shown");
        const Records one{"Gedit \xA6 notes - gedit*editor~E$gedit"};
        const QStringList typed{"writer", "F", "/bin/ed"};
        QTest::newRow("selected entry")
            << one << 0 << typed << Records{"Gedit \xA6 notes - gedit*writer~F$/bin/ed"} << typed
            << "";
        QTest::newRow("nothing selected")
            << one << -1 << typed << one << QStringList{"editor", "E", "gedit"}
            << "JEV! Voice Command: You must select a Voice Application!";
        QTest::newRow("empty list") << Records() << -1 << typed << Records() << typed
                                    << "No item to save: There is nothing to save!";
        const QStringList tilde{"wri~ter", "F", ""};
        QTest::newRow("refused by a rule")
            << one << 0 << tilde << one << tilde
            << "JEV! Voice Command: A voice activation command cannot contain \"~\".";
    }

    void save()
    {
        QFETCH(Records, file);
        QFETCH(int, selected);
        QFETCH(QStringList, typed);
        QFETCH(Records, saved);
        QFETCH(QStringList, fieldsAfter);
        QFETCH(QString, shown);
        load(file);
        whileAppOpen([&](frmApp &w) {
            w.applications().setSelectedIndex(selected);
            child<QLineEdit>(w, "txtVActivate")->setText(typed.at(0));
            child<QComboBox>(w, "cmbVocabulary")->setEditText(typed.at(1));
            child<QLineEdit>(w, "txtPath")->setText(typed.at(2));
            QTest::mouseClick(child<QPushButton>(w, "cmdSaveVocab"), Qt::LeftButton);
            QCOMPARE(records(), saved);
            QCOMPARE(messages().join(""), shown);
            QCOMPARE(fields(w), fieldsAfter);
            if (selected < 0 && !file.isEmpty()) { // the first entry, ready for typing
                QCOMPARE(w.applications().selectedIndex(), 0);
                QCOMPARE(QApplication::focusWidget(), child<QWidget>(w, "txtVActivate"));
            }
        });
    }

    void close_data()
    {
        QTest::addColumn<Records>("file");
        QTest::addColumn<bool>("throughFrame");
        QTest::addColumn<int>("stays"); // the line left selected, -1: the window unloaded
        QTest::addColumn<QByteArray>("grammar");
        const Records incomplete{"Gedit \xA6 notes - gedit*editor~E$gedit",
                                 "XTerm \xA6 shell*term~$"};
        QTest::newRow("entry without vocabulary") << incomplete << false << 1 << QByteArray();
        QTest::newRow("empty list")
            << Records() << false << -1 << QByteArray("<start>=switch to\r\n<start>=save\r\n");
        QTest::newRow("through the frame, unchecked")
            << incomplete << true << -1 << QByteArray("<start>=term\r\n<start>=save\r\n");
    }

    void close()
    {
        QFETCH(Records, file);
        QFETCH(bool, throughFrame);
        QFETCH(int, stays);
        QFETCH(QByteArray, grammar);
        load(file);
        QFile::remove(data("temp.txt"));
        whileAppOpen([&](frmApp &w) {
            if (throughFrame)
                w.close();
            else
                QTest::mouseClick(child<QPushButton>(w, "cmdCloseApp"), Qt::LeftButton);
            QCOMPARE(w.isUnloaded(), stays < 0);
            // The grammar is written when the window unloads, and only then.
            QCOMPARE(QFile::exists(data("temp.txt")), stays < 0);
            QVERIFY(RecordFileBytes::read(data("temp.txt")).endsWith(grammar));
            if (stays >= 0) {
                QCOMPARE(w.applications().selectedIndex(), stays);
                QCOMPARE(messages(), QStringList({"Insufficient Control Parameters: You must "
                                                  "supply both a user-defined name and assign a "
                                                  "vocabulary for each application you wish to "
                                                  "control!"}));
                QCOMPARE(m_desktop->prompter.shown().first().icon, Prompter::Icon::Information);
            }
        });
        QCOMPARE(records(), file);
    }

    void remove_data()
    {
        QTest::addColumn<bool>("fromToolbar");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("File menu, Ctrl+D") << false << false << 0 << true;
        QTest::newRow("toolbar, OK") << true << true << 1 << true;
        QTest::newRow("toolbar, Cancel") << true << false << 1 << false;
    }

    void remove()
    {
        QFETCH(bool, fromToolbar);
        QFETCH(bool, answer);
        QFETCH(int, questions);
        QFETCH(bool, deleted);
        const Records two{"Gedit \xA6 notes - gedit*editor~E$gedit", "XTerm \xA6 shell*term~E$"};
        load(two);
        m_desktop->prompter.queueAnswer(answer);
        whileAppOpen([&](frmApp &w) {
            if (fromToolbar)
                use(w, "tbrApp_DelApp");
            else
                QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
            QCOMPARE(m_desktop->prompter.shown().size(), questions);
            QCOMPARE(records(), deleted ? two.mid(1) : two);
            QCOMPARE(w.applications().count(), deleted ? 1 : 2);
        });
    }

    void popupMenuOnlyWithASelection()
    {
        whileAppOpen([&](frmApp &w) {
            QWidget *list = child<EntryList>(w, "lstVAppCmd")->viewport();
            auto *menu = child<QMenu>(w, "mnuEdit");
            for (const bool selected : {false, true}) {
                w.applications().setSelectedIndex(selected ? 0 : -1);
                QTest::mouseClick(list, Qt::RightButton, {}, QPoint(20, 60));
                QCOMPARE(menu->isVisible(), selected);
                QCOMPARE(w.applications().selectedIndex(), selected ? 0 : -1);
                menu->hide();
            }
        });
    }

    void startAndSwitch_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("shellFails");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("shown");
        QTest::newRow("double click") << "" << false << "start gedit"
                                      << "";
        QTest::newRow("File > Run fails")
            << "mnuRun" << true << "start gedit"
            << "Invalid Path/Filename: You must enter a valid Path/Filename!";
        QTest::newRow("toolbar Shell") << "tbrApp_Shell" << false << "open gedit"
                                       << "";
        QTest::newRow("toolbar Activate") << "tbrApp_Activate" << false << "activate 7"
                                          << "";
    }

    void startAndSwitch()
    {
        QFETCH(QString, control);
        QFETCH(bool, shellFails);
        QFETCH(QString, done);
        QFETCH(QString, shown);
        m_desktop->shell.setResult(shellFails ? ShellResult::FileNotFound : ShellResult::Success);
        whileAppOpen([&](frmApp &w) {
            auto *list = child<EntryList>(w, "lstVAppCmd");
            const QPoint line =
                list->viewport()->mapTo(&w, list->visualItemRect(list->item(0)).center());
            if (control.isEmpty()) // through the window system, as a mouse makes one
                QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, line);
            else
                use(w, control);
            QStringList calls = m_desktop->shell.calls();
            for (const WindowId window : m_desktop->windows.activations())
                calls.append(QString("activate %1").arg(window));
            QCOMPARE(calls, QStringList{done});
            QCOMPARE(messages().join(""), shown);
        });
    }

    void keyboardAndAssistiveTools()
    {
        whileAppOpen([&](frmApp &w) {
            checkKeyboardAccess(
                w, "tbrApp_", {"Activate", "Shell", "SavCmd", "DelApp", "AppVoc", "Help"},
                {"cmdToggle", "lstRunApp", "lstVAppCmd", "txtVActivate", "cmbVocabulary", "txtPath",
                 "cmdSaveVocab", "cmdCloseApp", "cmdToggle"});
        });
    }

    void positionIsKept()
    {
        whileAppOpen([&](frmApp &w) { w.setGeometry(60, 50, 800, 420); });
        whileAppOpen([&](frmApp &w) { QCOMPARE(w.geometry(), QRect(60, 50, 800, 420)); });
    }
};

QTEST_MAIN(TestFrmApp)
#include "tst_frmapp.moc"
