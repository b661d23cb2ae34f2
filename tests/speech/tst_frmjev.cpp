#include "config/ConfigWindowSession.h"
#include "config/ProgramSettings.h"
#include "config/frmApp.h"
#include "speech/VuMeterBar.h"

#include <QAction>
#include <QPointer>
#include <QScrollBar>
#include <QTextBrowser>
#include <QWindow>
#include <functional>

// The speech window with a fake recognizer and desktop, offscreen.
class TestFrmJev : public ConfigWindowSession
{
    Q_OBJECT

private:
    // Opens the configuration, chooses its Help command and hands the help window shown to
    // check while the configuration is still open.
    void openHelpFromTheConfiguration(const std::function<void(QTextBrowser *)> &check)
    {
        whileAppOpen([&](frmApp &w) {
            child<QAction>(w, "mnuJEVHelp")->trigger();
            QTextBrowser *shown = nullptr;
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (top->objectName() == "HelpWindow" && top->isVisible())
                    shown = qobject_cast<QTextBrowser *>(top);
            }
            QVERIFY2(shown, "no help window shown");
            check(shown);
        });
    }
    void clickMeter() { QTest::mouseClick(&m_window->meter(), Qt::LeftButton); }
    void showWindow()
    {
        makeWindow();
        m_window->show();
        // Alt+F1 belongs to the active window.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

private Q_SLOTS:
    void init()
    {
        fresh();
        geditInFront({"save:^s", "editor:^e"});
        showWindow();
    }

    void listensAfterLoad()
    {
        QVERIFY(m_recognizer.isActive());
        QCOMPARE(m_recognizer.loadedFiles().last(), data("temp.txt"));
        QCOMPARE(m_window->windowTitle(), QString("JEV! Voice Control"));
        QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
        // First run: the grammar is written before it is loaded.
        QVERIFY(RecordFileBytes::read(data("temp.txt"))
                    .contains("<start>=switch to\r\n<start>=editor\r\n"));
        QCOMPARE(m_window->meter().fullScale(), 3000);
        QVERIFY(m_window->startupProblems().isEmpty());
    }

    // Events: m meter click, c configuration opened and closed, a Alt+F1, f F1 alone, l a level
    // event. The meter shows a level before the first event, so that a level of 0 afterwards is
    // the work of the events.
    void meterClicks_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<bool>("listening");
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<bool>("pbClick");
        QTest::addColumn<int>("level");
        QTest::newRow("click: off") << "m" << false << true << false << 0;
        QTest::newRow("two clicks: listening") << "mm" << true << false << false << 0;
        QTest::newRow("configure: off") << "c" << false << false << true << 0;
        QTest::newRow("configure, click: listening") << "cm" << true << false << false << 0;
        QTest::newRow("listening again shows levels") << "cml" << true << false << false << 1500;
        QTest::newRow("off, configure, click: listening") << "mcm" << true << false << false << 0;
        QTest::newRow("configure, two clicks: off") << "cmlm" << false << true << false << 0;
        QTest::newRow("Alt+F1 as a click") << "a" << false << true << false << 0;
        QTest::newRow("F1 alone does nothing") << "f" << true << false << false << 1200;
    }

    void meterClicks()
    {
        QFETCH(QString, events);
        QFETCH(bool, listening);
        QFETCH(bool, toggle);
        QFETCH(bool, pbClick);
        QFETCH(int, level);
        m_recognizer.level(1200);
        QTRY_COMPARE(m_window->meter().level(), 1200);
        const int loadsBefore = m_recognizer.loadedFiles().size();
        int clicks = 0;
        for (QChar e : events) {
            if (e == 'm') {
                clickMeter(), ++clicks;
            } else if (e == 'c') {
                configure();
            } else if (e == 'l') {
                m_recognizer.level(1500);
                QTRY_COMPARE(m_window->meter().level(), 1500);
            } else if (e == 'a') {
                QTest::keyClick(m_window->findChild<QPushButton *>("cmdConfigure"), Qt::Key_F1,
                                Qt::AltModifier),
                    ++clicks;
            } else {
                QTest::keyClick(m_window->findChild<QPushButton *>("cmdConfigure"), Qt::Key_F1);
            }
        }
        QCOMPARE(m_recognizer.isActive(), listening);
        QCOMPARE(m_window->meterToggle(), toggle);
        QCOMPARE(m_window->pbClickState(), pbClick);
        // Every click reloads the grammar.
        QCOMPARE(m_recognizer.loadedFiles().size() - loadsBefore, clicks);
        QCOMPARE(m_window->meter().level(), level);
    }

    // Through the window system, as a mouse makes them: a click is a press and a release on the
    // bar, and a double click is one click.
    void meterClickGestures_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("clicks");
        QTest::newRow("click") << "click" << 1;
        QTest::newRow("double click") << "double" << 1;
        QTest::newRow("pressed on the bar, released off it") << "drag off" << 0;
        QTest::newRow("right button") << "right" << 0;
    }

    void meterClickGestures()
    {
        QFETCH(QString, gesture);
        QFETCH(int, clicks);
        QWindow *window = m_window->windowHandle();
        const QPoint onBar =
            m_window->meter().mapTo(m_window.get(), m_window->meter().rect().center());
        auto *status = m_window->findChild<QWidget *>("stbVCmd");
        const QPoint offBar = status->mapTo(m_window.get(), status->rect().center());
        const int loadsBefore = m_recognizer.loadedFiles().size();
        if (gesture == "click") {
            QTest::mouseClick(window, Qt::LeftButton, {}, onBar);
        } else if (gesture == "double") {
            QTest::mouseDClick(window, Qt::LeftButton, {}, onBar);
        } else if (gesture == "drag off") {
            QTest::mousePress(window, Qt::LeftButton, {}, onBar);
            QTest::mouseMove(window, offBar);
            QTest::mouseRelease(window, Qt::LeftButton, {}, offBar);
        } else {
            // The right button opens the window's context menu, which is closed here.
            QString menu;
            QTimer::singleShot(0, [&menu] {
                if (QWidget *popup = QApplication::activePopupWidget()) {
                    menu = popup->actions().value(0)->objectName();
                    popup->close();
                }
            });
            QTest::mouseClick(window, Qt::RightButton, {}, onBar);
            QCOMPARE(menu, QString("mnuWhatCanISay"));
        }
        QCOMPARE(m_recognizer.loadedFiles().size() - loadsBefore, clicks);
        QCOMPARE(m_recognizer.isActive(), clicks % 2 == 0);
        QCOMPARE(m_window->meterToggle(), clicks % 2 == 1);
    }

    void levelAndPhrases()
    {
        m_recognizer.level(1200);
        QTRY_COMPARE(m_window->meter().level(), 1200);
        m_recognizer.level(5000); // above the full scale: the bar keeps its position
        QTest::qWait(0);
        QCoreApplication::processEvents();
        QCOMPARE(m_window->meter().level(), 1200);

        m_recognizer.hear("save");
        QTRY_COMPARE(phraseShown(), QString("save"));
        // A phrase that is a spoken name acts as the name only.
        m_recognizer.hear("editor");
        QTRY_COMPARE(phraseShown(), QString("editor"));
        QCOMPARE(m_desktop->keys.texts(), QStringList({"Ctrl+s"}));
        // A phrase that matches nothing is still shown, and the running applications are read.
        m_desktop->windows.addWindow(8, "XTerm", "shell");
        m_recognizer.hear("unknown words");
        QTRY_COMPARE(phraseShown(), QString("unknown words"));
        QVERIFY(m_window->configWindows().app().runningApps().findExact("XTerm ¦ shell") >= 0);
    }

    // A phrase heard while the message box of an earlier phrase is open is handled when the box
    // closes, in the order heard, and no handling starts while another is under way.
    void phrasesHeardDuringAMessageBox()
    {
        RecordFileBytes::write(data("VAppCmd.txt"),
                               RecordFileBytes::file({"Gedit \xA6 notes - gedit*editor~E$gedit",
                                                      "Gone \xA6 closed*launch~E$/no/such"},
                                                     270));
        m_desktop->shell.setResult(ShellResult::FileNotFound); // a message box tells it
        QStringList keysWhileShown{"not run"};
        m_desktop->prompter.setWhileShown([&] {
            m_desktop->prompter.setWhileShown(nullptr);
            m_recognizer.hear("save");
            m_recognizer.hear("unknown words");
            QCoreApplication::processEvents();
            keysWhileShown = m_desktop->keys.texts();
        });
        m_recognizer.hear("launch");
        QTRY_COMPARE(phraseShown(), QString("unknown words"));
        QCOMPARE(keysWhileShown, QStringList());
        QCOMPARE(m_desktop->keys.texts(), QStringList({"Ctrl+s"}));
        QCOMPARE(m_desktop->shell.calls(), QStringList({"open /no/such"}));
        QCOMPARE(m_desktop->prompter.shown().size(), 1);
    }

    // The configuration is modal, yet the help it opens takes the keyboard while it is open.
    void helpFromTheConfiguration()
    {
        QPointer<QTextBrowser> help;
        int scrolledTo = -1;
        openHelpFromTheConfiguration([&](QTextBrowser *shown) {
            help = shown;
            // Small enough for the book to scroll; End goes to its last line.
            shown->resize(320, 120);
            if (!QTest::qWaitForWindowExposed(shown))
                return;
            QTest::keyClick(shown->windowHandle(), Qt::Key_End);
            scrolledTo = shown->verticalScrollBar()->value();
        });
        QVERIFY(help);
        QVERIFY(help->verticalScrollBar()->maximum() > 0);
        QCOMPARE(scrolledTo, help->verticalScrollBar()->maximum());
        delete help;
    }

    // Closing the speech window ends the program, also while a help window is open.
    void closingEndsTheProgramWithTheHelpOpen()
    {
        QPointer<QTextBrowser> help;
        openHelpFromTheConfiguration([&](QTextBrowser *shown) { help = shown; });
        QVERIFY(help && help->isVisible());
        QTimer::singleShot(0, m_window.get(), &QWidget::close);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        delete help;
    }

    // The position is stored when the window closes; it and the meter's scale are read when it
    // loads.
    void settingsKept()
    {
        m_window->setGeometry(123, 77, 420, 110);
        m_window->close();
        QVERIFY(!QSettings().value("Software/frmJev/Position").toByteArray().isEmpty());
        ProgramSettings::setFullScale(20000);
        showWindow();
        QCOMPARE(m_window->geometry(), QRect(123, 77, 420, 110));
        QCOMPARE(m_window->meter().fullScale(), 20000);
    }

    void startupProblems()
    {
        m_window.reset();
        m_recognizer.Deactivate();
        m_recognizer.setActivateError("No microphone: the PulseAudio server cannot be reached.");
        m_desktop->windows.setAvailable(false);
        showWindow();
        QCOMPARE(m_window->startupProblems().size(), 2);
        QVERIFY(problemsShown().contains("microphone"));
        m_window->tellStartupProblems();
        QCOMPARE(m_desktop->prompter.shown().size(), 1);
        QVERIFY(m_desktop->prompter.shown().first().text.contains("No X display"));
    }

    // A data directory that cannot be made is the first problem shown; the window still runs.
    void dataDirectoryCannotBePrepared()
    {
        m_window.reset();
        RecordFileBytes::write(m_dir->filePath("blocked"), "a file, not a folder");
        m_window = std::make_unique<frmJev>(m_dir->filePath("blocked/data"), m_desktop->services(),
                                            m_recognizer);
        m_window->load();
        QVERIFY2(problemsShown().startsWith("The data directory"),
                 qPrintable(m_window->startupProblems().join('|')));
    }
};

QTEST_MAIN(TestFrmJev)
#include "tst_frmjev.moc"
