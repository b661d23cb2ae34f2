#include "config/ConfigWindows.h"
#include "config/DictionaryList.h"
#include "config/frmApp.h"
#include "config/frmVocab.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/frmJev.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using Records = QByteArrayList;

// The vocabulary window, opened from the speech window through the application window, with a
// fake desktop, offscreen. Every edit is checked in the vocabulary files on disk. The offscreen
// platform ends a drag at once, so presses and keys reach the word list as the window system's
// events, and the drag over the vocabulary list and its drop as the drag events Qt delivers there.
class TestFrmVocab : public QObject
{
    Q_OBJECT

private:
    QString data(const QString &name) const { return m_dir->filePath("data/" + name); }
    Records words(const QString &vocab) const
    {
        return RecordFileBytes::records(RecordFileBytes::read(data("vocab/" + vocab + ".txt")),
                                        128);
    }
    void writeVocab(const QString &name, const Records &records)
    {
        RecordFileBytes::write(data("vocab/" + name + ".txt"), RecordFileBytes::file(records, 128));
    }
    // Messages shown, questions left out.
    QStringList messages() const
    {
        QStringList shown;
        for (const auto &m : m_desktop->prompter.shown()) {
            if (!m.question)
                shown.append(m.title + ": " + m.text);
        }
        return shown;
    }
    template <typename T> static T *child(QWidget &w, const char *name)
    {
        return w.findChild<T *>(name);
    }
    static QStringList lines(QListWidget *list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }
    static QPoint lineCentre(QListWidget *list, int row)
    {
        return list->visualItemRect(list->item(row)).center();
    }
    // Opens the window as a user does, Configure and then the application window's switch, runs
    // steps while it is open (it is modal) and closes it through its frame if they left it open.
    void whileOpen(const std::function<void(frmVocab &)> &steps)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            frmApp &app = m_jev->configWindows().app();
            QTimer::singleShot(0, [&] {
                auto &w = dynamic_cast<frmVocab &>(m_jev->configWindows().vocabulary());
                ran = QApplication::activeModalWidget() == &w && QTest::qWaitForWindowActive(&w);
                steps(w);
                if (!w.isUnloaded())
                    w.close();
            });
            QTest::mouseClick(child<QPushButton>(app, "cmdToggle"), Qt::LeftButton);
        });
        QTest::mouseClick(m_jev->findChild<QPushButton *>("cmdConfigure"), Qt::LeftButton);
        QVERIFY2(ran, "the window was not shown modally");
    }
    // Presses and clicks on the word list: "N" clicks line N, "^N" Ctrl+clicks it, "key" presses
    // and releases Down, "all" is Select All. The last step's press stays down: it starts a drag.
    static void pickUp(frmVocab &w, const QStringList &steps)
    {
        auto *list = child<DictionaryList>(w, "lstDictionary");
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QString step = steps.at(i);
            if (step == "all") {
                child<QAction>(w, "mnuDicSelAll")->trigger();
                continue;
            }
            if (step == "key") {
                QTest::keyClick(list, Qt::Key_Down);
                continue;
            }
            const Qt::KeyboardModifiers ctrl =
                step.startsWith('^') ? Qt::ControlModifier : Qt::NoModifier;
            const QPoint at = lineCentre(list, step.remove('^').toInt());
            QTest::mousePress(list->viewport(), Qt::LeftButton, ctrl, at);
            if (i + 1 < steps.size())
                QTest::mouseRelease(list->viewport(), Qt::LeftButton, ctrl, at);
        }
    }
    // The drag of the pressed words comes over the vocabulary list at `at` (its viewport's
    // coordinates).
    static void dragOver(frmVocab &w, QPoint at)
    {
        QWidget *target = child<QListWidget>(w, "lstVocab")->viewport();
        std::unique_ptr<QMimeData> words(
            child<DictionaryList>(w, "lstDictionary")->wordsMimeData());
        QDragEnterEvent enter(at, Qt::CopyAction, words.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, words.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &move);
        QVERIFY(move.isAccepted());
    }
    // The button is let go there; the copy that follows the drag has been made on return.
    static void drop(frmVocab &w, QPoint at)
    {
        QWidget *target = child<QListWidget>(w, "lstVocab")->viewport();
        std::unique_ptr<QMimeData> words(
            child<DictionaryList>(w, "lstDictionary")->wordsMimeData());
        QDropEvent release(at, Qt::CopyAction, words.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &release);
        QVERIFY(release.isAccepted());
        auto *list = child<DictionaryList>(w, "lstDictionary");
        QTest::mouseRelease(list->viewport(), Qt::LeftButton); // the drag had the release
        QCoreApplication::processEvents();
    }
    static QStringList vocabularyNames(int count)
    {
        QStringList names{"Editing", "Empty", "Web"};
        for (int i = names.size(); i < count; ++i)
            names.append(QString("X%1").arg(i, 2, 10, QChar('0')));
        return names;
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
        writeVocab("Editing", {"select all:^a", "save:^s", "close:^w"});
        writeVocab("Empty", {});
        writeVocab("Web", {"Save:^s", "back:%{LEFT}", "close:^w"});
        RecordFileBytes::write(
            data("VAppCmd.txt"),
            RecordFileBytes::file({"Gedit \xA6 notes*editor~Editing$gedit"}, 270));
        m_jev = std::make_unique<frmJev>(data(""), m_desktop->services(), m_recognizer);
        m_jev->load();
    }
    void cleanup() { m_jev.reset(); }

    // vocab: the vocabulary selected ("" none: a new one was made, which selects none); clicked:
    // the word clicked first (-1 none, the current word stays unselected).
    void save_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("vocab");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<Records>("saved");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("shown");
        const Records editing{"select all:^a", "save:^s", "close:^w"};
        QTest::newRow("button, over the selected word")
            << "cmdSaveChanges"
            << "Editing" << 1 << Records{"select all:^a", "typed:1", "close:^w"}
            << QStringList{"select all:^a", "typed:1", "close:^w"} << "";
        QTest::newRow("toolbar, no word selected: appended")
            << "tbrVocab_SvCh"
            << "Editing" << -1 << editing + Records{"typed:1"}
            << QStringList{"select all:^a", "save:^s", "close:^w", "typed:1"} << "";
        QTest::newRow("menu: the list stays as it was")
            << "mnuSaveChanges"
            << "Editing" << -1 << editing + Records{"typed:1"}
            << QStringList{"select all:^a", "save:^s", "close:^w"} << "";
        QTest::newRow("empty word list: nothing written")
            << "cmdSaveChanges"
            << "Empty" << -1 << Records() << QStringList()
            << "No Vocabulary Selected: Please select a vocabulary!";
        QTest::newRow("no vocabulary selected")
            << "cmdSaveChanges"
            << "" << -1 << editing << QStringList()
            << "JEV! Voice Command: You must select a Vocabulary!";
    }

    void save()
    {
        QFETCH(QString, control);
        QFETCH(QString, vocab);
        QFETCH(int, clicked);
        QFETCH(Records, saved);
        QFETCH(QStringList, listed);
        QFETCH(QString, shown);
        whileOpen([&](frmVocab &w) {
            if (vocab.isEmpty()) {
                m_desktop->prompter.queueText("Fresh");
                child<QAction>(w, "mnuNewVocab")->trigger();
            } else {
                w.vocabularyList().setSelectedIndex(vocabularyNames(3).indexOf(vocab));
            }
            auto *list = child<QListWidget>(w, "lstDictionary");
            if (clicked >= 0)
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lineCentre(list, clicked));
            auto *txtCommand = child<QLineEdit>(w, "txtCommand");
            txtCommand->setText("typed:1");
            if (control.startsWith("tbrVocab_"))
                QTest::mouseClick(child<QToolButton>(w, control.toLatin1()), Qt::LeftButton);
            else if (control.startsWith("cmd"))
                QTest::mouseClick(child<QPushButton>(w, control.toLatin1()), Qt::LeftButton);
            else
                child<QAction>(w, control.toLatin1())->trigger();
            QCOMPARE(words(vocab.isEmpty() ? "Editing" : vocab), saved);
            QCOMPARE(messages().join(""), shown);
            QCOMPARE(words("Fresh"), Records());
            // The button and the toolbar show the file afresh; the menu leaves list and text.
            QCOMPARE(lines(list), listed);
            QCOMPARE(txtCommand->text(), control.startsWith("mnu") ? "typed:1" : "");
        });
    }

    // The 30th vocabulary is made, the 31st is not; a listed name in other letters is no new one.
    void newVocabulary_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<QString>("answer"); // "" cancels
        QTest::addColumn<QString>("shown");
        QTest::newRow("the 29th") << 28 << "New"
                                  << "";
        QTest::newRow("the 30th") << 29 << "New"
                                  << "";
        QTest::newRow("the 31st") << 30 << "New"
                                  << "Vocabulary Overload: You Have Too Many Vocabularies "
                                     "Already!  The Maximum is 30.";
        QTest::newRow("listed, in other letters")
            << 3 << "WEB"
            << "JEV! Voice Command: You Already Have A Vocabulary With That Name!";
        QTest::newRow("cancelled") << 3 << ""
                                   << "";
    }

    void newVocabulary()
    {
        QFETCH(int, existing);
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        const QStringList names = vocabularyNames(existing);
        for (const QString &name : names.mid(3))
            writeVocab(name, {});
        const bool made = shown.isEmpty() && !answer.isEmpty();
        m_desktop->prompter.queueText(answer.isEmpty() ? std::nullopt : std::optional(answer));
        whileOpen([&](frmVocab &w) {
            QTest::mouseClick(child<QToolButton>(w, "tbrVocab_NewVocab"), Qt::LeftButton);
            const auto &prompt = m_desktop->prompter.shown().first();
            QCOMPARE(prompt.text + "|" + prompt.title,
                     QString("Enter Name of New Vocabulary: |New Vocabulary"));
            QCOMPARE(messages().join(""), shown);
            QStringList listed = names;
            if (made) {
                listed.insert(names.indexOf("Web"), "New"); // in the listing's order
                QCOMPARE(w.vocabularyList().selectedIndex(), -1);
            }
            QCOMPARE(lines(child<QListWidget>(w, "lstVocab")), listed);
            QCOMPARE(QDir(data("vocab")).entryList(QDir::Files).size(), listed.size());
            // The word list keeps the words it showed.
            QCOMPARE(child<QListWidget>(w, "lstDictionary")->count(), 3);
        });
    }

    void deleteVocabulary_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("shown");
        QTest::newRow("OK") << true << true << QStringList{"Editing", "Empty"} << "";
        QTest::newRow("Cancel") << true << false << vocabularyNames(3) << "";
        QTest::newRow("none selected, OK")
            << false << true << QStringList{"Editing", "Empty", "Fresh", "Web"}
            << "Vocabulary Deletion: You Must Select A Vocabulary First!";
    }

    void deleteVocabulary()
    {
        QFETCH(bool, selected);
        QFETCH(bool, answer);
        QFETCH(QStringList, left);
        QFETCH(QString, shown);
        whileOpen([&](frmVocab &w) {
            ScriptedPrompter &prompter = m_desktop->prompter;
            if (selected) {
                w.vocabularyList().setSelectedIndex(2);
            } else { // a new vocabulary selects none
                prompter.queueText("Fresh");
                child<QAction>(w, "mnuNewVocab")->trigger();
                prompter.clear();
            }
            const QStringList shownWords = lines(child<QListWidget>(w, "lstDictionary"));
            prompter.queueAnswer(answer);
            child<QAction>(w, "mnuDeleteVocab")->trigger();
            const auto &question = prompter.shown().first(); // asked first, whatever is selected
            QCOMPARE(question.title, QString("Vocabulary File Deletion"));
            QCOMPARE(question.icon, Prompter::Icon::Critical);
            QCOMPARE(messages().join(""), shown);
            QCOMPARE(lines(child<QListWidget>(w, "lstVocab")), left);
            QStringList files = QDir(data("vocab")).entryList(QDir::Files);
            QCOMPARE(files.replaceInStrings(".txt", ""), left);
            if (answer)
                QCOMPARE(w.vocabularyList().selectedIndex(), -1);
            QCOMPARE(lines(child<QListWidget>(w, "lstDictionary")), shownWords);
        });
    }

    // Words picked up in Editing and dropped on a line of the vocabulary list. Web holds
    // "Save:^s" and "close:^w".
    void drop_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QString>("target");
        QTest::addColumn<Records>("after");
        QTest::addColumn<QString>("shown");
        const Records web{"Save:^s", "back:%{LEFT}", "close:^w"};
        QTest::newRow("two words, one held already; case counts")
            << QStringList{"1", "^2"} << "Web" << web + Records{"save:^s"} << "";
        QTest::newRow("into an empty vocabulary")
            << QStringList{"2", "^0"} << "Empty" << Records{"close:^w", "select all:^a"} << "";
        QTest::newRow("onto their own vocabulary")
            << QStringList{"0", "^1"} << "Editing"
            << Records{"select all:^a", "save:^s", "close:^w"} << "";
        // The click before picked a word up already; the drag carries the list, once.
        QTest::newRow("a click, Select All, then a press: the whole list")
            << QStringList{"0", "all", "1"} << "Empty"
            << Records{"select all:^a", "save:^s", "close:^w"} << "";
        QTest::newRow("more counted than picked up: what there is, then a message")
            << QStringList{"0", "key", "2"} << "Empty" << Records{"select all:^a"}
            << "JEV! Voice Command: You Must Select A Dictionary Word!";
    }

    void drop()
    {
        QFETCH(QStringList, presses);
        QFETCH(QString, target);
        QFETCH(Records, after);
        QFETCH(QString, shown);
        whileOpen([&](frmVocab &w) {
            auto *vocabularies = child<QListWidget>(w, "lstVocab");
            const int line = vocabularyNames(3).indexOf(target);
            pickUp(w, presses);
            dragOver(w, lineCentre(vocabularies, line));
            drop(w, lineCentre(vocabularies, line));
            QCOMPARE(words(target), after);
            QCOMPARE(messages().join(""), shown);
            // The target is selected; the word list still shows the words dragged.
            QCOMPARE(w.vocabularyList().selectedIndex(), line);
            auto *list = child<QListWidget>(w, "lstDictionary");
            QCOMPARE(lines(list), QStringList({"select all:^a", "save:^s", "close:^w"}));
            // A click on another vocabulary shows its words, unless a drop failed: then clicks
            // do nothing until a drop succeeds.
            const int other = line == 1 ? 2 : 1;
            QTest::mouseClick(vocabularies->viewport(), Qt::LeftButton, {},
                              lineCentre(vocabularies, other));
            QCOMPARE(lines(list).size(),
                     shown.isEmpty() ? words(vocabularyNames(3).at(other)).size() : 3);
        });
    }

    // Held below the top 2000 twips of the vocabulary list, the drag selects line 12 after one
    // tick (one second), then one line further each tick, line 0 after the last; with 12
    // vocabularies or fewer, line 0 at every tick. The drop goes to the line selected then.
    void timer_data()
    {
        QTest::addColumn<int>("vocabularies");
        QTest::addColumn<QList<int>>("ticks");
        QTest::newRow("15 vocabularies") << 15 << QList<int>{12, 13, 14, 0, 1};
        QTest::newRow("12 vocabularies") << 12 << QList<int>{0, 0};
    }

    void timer()
    {
        QFETCH(int, vocabularies);
        QFETCH(QList<int>, ticks);
        const QStringList names = vocabularyNames(vocabularies);
        for (const QString &name : names.mid(3))
            writeVocab(name, {});
        whileOpen([&](frmVocab &w) {
            auto *tmrExtend = child<QTimer>(w, "tmrExtend");
            QCOMPARE(tmrExtend->interval(), 1000);
            QVERIFY(!tmrExtend->isActive());
            tmrExtend->setInterval(20);
            // The test keeps the time: after the ticks it looks at, the clock stops.
            QList<int> seen;
            connect(tmrExtend, &QTimer::timeout, &w, [&] {
                seen.append(w.vocabularyList().selectedIndex());
                if (seen.size() == ticks.size())
                    tmrExtend->stop();
            });
            pickUp(w, {"1"});
            QWidget *list = child<QListWidget>(w, "lstVocab")->viewport();
            dragOver(w, QPoint(20, list->height() - 3)); // 2400 twips down: the timer
            dragOver(w, QPoint(20, 3));                  // back in a band, the timer goes on
            QTRY_COMPARE(seen, ticks);
            tmrExtend->start(60000); // as if the clock went on: the drop stops it
            drop(w, QPoint(20, 3));
            QVERIFY(!tmrExtend->isActive());
            const Records editing{"select all:^a", "save:^s", "close:^w"};
            QCOMPARE(words(names.at(ticks.last())),
                     ticks.last() == 0 ? editing : Records{"save:^s"});
        });
    }

    // current: the current word after the clicks ("0,^2": clicked, Ctrl+clicked); saved: a word
    // saved through the menu first, which the list does not show yet.
    void deleteWord_data()
    {
        QTest::addColumn<Records>("before");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("control");
        QTest::addColumn<Records>("after");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the only word: an empty file") << Records{"only:1"} << QStringList{"0"} << ""
                                                      << "tbrVocab_DelDict" << Records() << "";
        QTest::newRow("the current word, not the other selected one")
            << Records{"a:1", "b:2", "c:3"} << QStringList{"0", "^2"} << ""
            << "mnuDelete" << Records{"a:1", "b:2"} << "";
        QTest::newRow("after a save through the menu, that word stays")
            << Records{"a:1", "b:2"} << QStringList() << "c:3"
            << "tbrVocab_DelDict" << Records{"b:2", "c:3"} << "";
        QTest::newRow("menu, no words")
            << Records() << QStringList() << ""
            << "mnuDelete" << Records() << "No Dictionary: You have no Dictionary!";
    }

    void deleteWord()
    {
        QFETCH(Records, before);
        QFETCH(QStringList, clicks);
        QFETCH(QString, saved);
        QFETCH(QString, control);
        QFETCH(Records, after);
        QFETCH(QString, shown);
        writeVocab("Editing", before);
        whileOpen([&](frmVocab &w) {
            auto *list = child<QListWidget>(w, "lstDictionary");
            for (const QString &click : clicks) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton,
                                  click.startsWith('^') ? Qt::ControlModifier : Qt::NoModifier,
                                  lineCentre(list, QString(click).remove('^').toInt()));
            }
            if (!saved.isEmpty()) {
                child<QLineEdit>(w, "txtCommand")->setText(saved);
                child<QAction>(w, "mnuSaveChanges")->trigger();
            }
            const QStringList listed = lines(list);
            const int current = list->currentRow();
            if (control.startsWith("tbrVocab_"))
                QTest::mouseClick(child<QToolButton>(w, control.toLatin1()), Qt::LeftButton);
            else
                child<QAction>(w, control.toLatin1())->trigger();
            QCOMPARE(words("Editing"), after);
            QVERIFY(QFile::exists(data("vocab/Editing.txt")));
            QCOMPARE(messages().join(""), shown);
            QStringList left = listed;
            if (current >= 0)
                left.removeAt(current);
            QCOMPARE(lines(list), left);
            // Other selected words stay selected.
            QCOMPARE(list->selectedItems().size(), qMax(0, int(clicks.size()) - 1));
        });
    }

    // To the application window and back, then Close: each switch fills the other window's
    // lists afresh; closing writes the grammar and empties the application list.
    void switchBothWaysThenClose()
    {
        QFile::remove(data("temp.txt"));
        QStringList seen;
        QTimer::singleShot(0, [&] {
            frmApp &app = m_jev->configWindows().app();
            for (const char *button : {"cmdToggle", "cmdCloseVocab"}) {
                QTimer::singleShot(0, [&] {
                    auto &w = dynamic_cast<frmVocab &>(m_jev->configWindows().vocabulary());
                    auto *vocabularies = child<QListWidget>(w, "lstVocab");
                    seen.append(lines(vocabularies).join(",") + " | " +
                                vocabularies->currentItem()->text() + ": " +
                                lines(child<QListWidget>(w, "lstDictionary")).join(","));
                    writeVocab("Added", {"new:1"});
                    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
                });
                QTest::mouseClick(child<QPushButton>(app, "cmdToggle"), Qt::LeftButton);
                seen.append(QString("app %1 %2 %3")
                                .arg(app.isVisible())
                                .arg(app.applications().count())
                                .arg(app.vocabularyNames().count()));
            }
        });
        QTest::mouseClick(m_jev->findChild<QPushButton *>("cmdConfigure"), Qt::LeftButton);
        QCOMPARE(seen,
                 QStringList({"Editing,Empty,Web | Editing: select all:^a,save:^s,close:^w",
                              "app 1 1 4", "Added,Editing,Empty,Web | Added: new:1", "app 0 0 4"}));
        QVERIFY(RecordFileBytes::read(data("temp.txt")).contains("<start>=new\r\n"));
    }

    // selected: the vocabulary selected (-1: none, a new one was just made); a word is clicked
    // first, so that the edit box holds it.
    void newWord_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("textAfter");
        QTest::addColumn<QString>("shown");
        QTest::newRow("shows the vocabulary's words afresh") << 0 << ""
                                                             << "";
        QTest::newRow("the last vocabulary: only the focus moves") << 2 << "Save:^s"
                                                                   << "";
        QTest::newRow("none selected: asks for a new one, then the first")
            << -1 << ""
            << "No Vocabulary Selection: You must select or create a vocabulary first!";
    }

    void newWord()
    {
        QFETCH(int, selected);
        QFETCH(QString, textAfter);
        QFETCH(QString, shown);
        whileOpen([&](frmVocab &w) {
            ScriptedPrompter &prompter = m_desktop->prompter;
            w.vocabularyList().setSelectedIndex(qMax(selected, 0));
            auto *list = child<QListWidget>(w, "lstDictionary");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lineCentre(list, 0));
            if (selected < 0) {
                prompter.queueText("Fresh");
                child<QAction>(w, "mnuNewVocab")->trigger();
                prompter.clear();
            }
            QTest::mouseClick(child<QToolButton>(w, "tbrVocab_NewDict"), Qt::LeftButton);
            auto *txtCommand = child<QLineEdit>(w, "txtCommand");
            QCOMPARE(txtCommand->text(), textAfter);
            QCOMPARE(QApplication::focusWidget(), txtCommand);
            QCOMPARE(messages().join(""), shown);
            QCOMPARE(prompter.unanswered(), selected < 0 ? 1 : 0); // the New Vocabulary box
            QCOMPARE(w.vocabularyList().selectedIndex(), qMax(selected, 0));
            QCOMPARE(list->selectedItems().size(), textAfter.isEmpty() ? 0 : 1);
        });
    }

    void popupMenusAndPresses()
    {
        whileOpen([&](frmVocab &w) {
            auto *vocabularies = child<QListWidget>(w, "lstVocab");
            auto *file = child<QMenu>(w, "mnuFile");
            auto *edit = child<QMenu>(w, "mnuEdit");
            const QPoint line = lineCentre(vocabularies, 1);
            QTest::mousePress(vocabularies->viewport(), Qt::RightButton, {}, line);
            QVERIFY(file->isVisible());
            file->hide();
            QTest::mouseRelease(vocabularies->viewport(), Qt::RightButton, {}, line);
            QVERIFY(edit->isVisible());
            edit->hide();
            QCOMPARE(w.vocabularyList().selectedIndex(), 0); // the right button selects nothing
            // The word list: its menu while it has a current word; a left press in an empty
            // list has no word to pick up.
            auto *list = child<QListWidget>(w, "lstDictionary");
            QTest::mousePress(list->viewport(), Qt::RightButton, {}, QPoint(10, 5));
            QVERIFY(edit->isVisible());
            edit->hide();
            w.vocabularyList().setSelectedIndex(1);
            QTest::mousePress(list->viewport(), Qt::RightButton, {}, QPoint(10, 5));
            QVERIFY(!edit->isVisible());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
            QTRY_COMPARE(messages(),
                         QStringList{"Dictionary Error: Please Select A Dictionary Word!"});
            QCOMPARE(m_desktop->prompter.shown().first().icon, Prompter::Icon::Information);
        });
    }

    // Tab visits the controls in their order, each named for assistive tools; every toolbar
    // image loaded. The words are copied with the keyboard alone.
    void keyboardAndAssistiveTools()
    {
        whileOpen([&](frmVocab &w) {
            for (const char *key : {"NewVocab", "DelVocab", "SvCh", "SelDict", "Switch", "NewDict",
                                    "DelDict", "Help"}) {
                auto *button = child<QToolButton>(w, QByteArray("tbrVocab_") + key);
                QVERIFY2(!button->icon().pixmap(24).isNull(), key);
                QVERIFY(!button->accessibleName().isEmpty());
            }
            QStringList order;
            child<QWidget>(w, "cmdToggle")->setFocus();
            for (int i = 0; i < 7; ++i) {
                QWidget *focus = QApplication::focusWidget();
                order.append(focus->objectName());
                QVERIFY(!QAccessible::queryAccessibleInterface(focus)
                             ->text(QAccessible::Name)
                             .isEmpty());
                QTest::keyClick(focus, Qt::Key_Tab);
            }
            QCOMPARE(order, QStringList({"cmdToggle", "lstDictionary", "lstVocab", "txtCommand",
                                         "cmdSaveChanges", "cmdCloseVocab", "cmdToggle"}));
            // Words chosen with the keys and copied to a vocabulary named in other letters.
            auto *list = child<QListWidget>(w, "lstDictionary");
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Home);
            QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
            QCOMPARE(child<QLineEdit>(w, "txtCommand")->text(), QString("save:^s"));
            m_desktop->prompter.queueText("empty");
            QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(words("Empty"), Records({"select all:^a", "save:^s"}));
            QCOMPARE(messages(), QStringList{"Words Copied: 2 words copied to Empty."});
            // The edit box, however reached, has its text selected.
            child<QLineEdit>(w, "txtCommand")->setFocus();
            QCOMPARE(child<QLineEdit>(w, "txtCommand")->selectedText(), QString("save:^s"));
        });
    }

    void positionIsKept()
    {
        whileOpen([&](frmVocab &w) { w.setGeometry(70, 40, 820, 430); });
        whileOpen([&](frmVocab &w) { QCOMPARE(w.geometry(), QRect(70, 40, 820, 430)); });
    }
};

QTEST_MAIN(TestFrmVocab)
#include "tst_frmvocab.moc"
