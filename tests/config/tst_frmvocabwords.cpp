#include "ConfigWindowSession.h"
#include "config/DictionaryList.h"

#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>

// Words picked up, dragged and dropped in the vocabulary window offscreen, and words deleted. The
// offscreen platform ends a drag at once, so presses and keys reach the word list as the window
// system's events, and the drag over the vocabulary list and its drop as the drag events Qt
// delivers there; tst_frmvocabx11 drags with the real mouse.
class TestFrmVocabWords : public ConfigWindowSession
{
    Q_OBJECT

private:
    // Presses and clicks on the word list: "N" clicks line N, "^N" Ctrl+clicks it, "key" presses
    // and releases Down, "all" is Select All. Unless told not to, the last step's press stays
    // down: it starts a drag.
    static void pickUp(frmVocab &w, const QStringList &steps, bool holdLast = true)
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
            if (!holdLast || i + 1 < steps.size())
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
private Q_SLOTS:
    void init() { start(); }

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
            // The test keeps the time: a step a little longer than QTRY's polls, and after the
            // ticks it looks at, the clock stops.
            tmrExtend->setInterval(120);
            QList<int> seen;
            connect(tmrExtend, &QTimer::timeout, &w, [&] {
                seen.append(w.vocabularyList().selectedIndex());
                if (seen.size() == ticks.size())
                    tmrExtend->stop();
            });
            pickUp(w, {"1"});
            const QPoint bottom(20, child<QListWidget>(w, "lstVocab")->viewport()->height() - 3);
            dragOver(w, bottom);        // 2400 twips down: the timer
            dragOver(w, QPoint(20, 3)); // back in a band, the timer goes on
            // The pointer moving about down there does not hold the steps back.
            QTRY_COMPARE_WITH_TIMEOUT((dragOver(w, bottom), seen), ticks, 5000);
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
            pickUp(w, clicks, false);
            if (!saved.isEmpty()) {
                child<QLineEdit>(w, "txtCommand")->setText(saved);
                child<QAction>(w, "mnuSaveChanges")->trigger();
            }
            const QStringList listed = lines(list);
            const int current = list->currentRow();
            use(w, control);
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
};

QTEST_MAIN(TestFrmVocabWords)
#include "tst_frmvocabwords.moc"
