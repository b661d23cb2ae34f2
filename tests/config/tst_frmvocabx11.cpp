#include "ConfigWindowSession.h"
#include "data/CVocab.h"
#include "data/ListBox.h"

#include <QLineEdit>

// The vocabulary window on Xvfb: words dragged from the word list with the mouse, as Qt carries
// the drag out on X11, and a screenshot for a person to look at.
class TestFrmVocabX11 : public ConfigWindowSession
{
    Q_OBJECT

private:
    frmVocab &window() { return dynamic_cast<frmVocab &>(m_window->configWindows().vocabulary()); }
    template <typename T> T *child(const char *name) { return window().findChild<T *>(name); }
    // Presses on a word, moves the pointer past the drag distance and, inside the drag, over
    // the points of `way` (widget, point), letting go at the last one: all as mouse events of
    // the window system.
    void drag(int line, const QList<std::pair<QWidget *, QPoint>> &way)
    {
        auto *from = child<QListWidget>("lstDictionary");
        const QPoint start = lineCentre(from, line);
        QTimer::singleShot(50, [=, this] {
            for (const auto &[widget, at] : way) {
                QTest::mouseMove(widget, at - QPoint(3, 3));
                QTest::mouseMove(widget, at);
            }
            m_timerBeforeRelease = window().findChild<QTimer *>("tmrExtend")->isActive();
            QTest::mouseRelease(way.last().first, Qt::LeftButton, {}, way.last().second);
        });
        QTest::mousePress(from->viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(from->viewport(), start + QPoint(QApplication::startDragDistance(), 2));
    }
    QPoint vocabularyLine(int line) { return lineCentre(child<QListWidget>("lstVocab"), line); }

    bool m_timerBeforeRelease = false;

private Q_SLOTS:
    void init()
    {
        fresh();
        writeVocab("Editing", {"select all:^a", "save file:^s", "undo:^z", "find:^f",
                               "go to line:^g", "close tab:^w"});
        writeVocab("Web", {"back:%{LEFT}", "undo:^z", "new tab:^t"});
        load({});
        CVocab(m_dir->filePath("data"), {&window().vocabularyList()}).FillVocabFile(true);
        window().vocabularyList().setSelectedIndex(0);
        window().move(30, 30);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    // Dragged onto Web: undo is there already. Let go over the edit box after passing the
    // bottom of the vocabulary list: nothing is copied, the timer stops and Editing is selected
    // again, whose words a click loads as before.
    void dragAndDrop_data()
    {
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<bool>("onWeb");
        QTest::addColumn<Records>("web");
        const Records web{"back:%{LEFT}", "undo:^z", "new tab:^t"};
        QTest::newRow("one word") << false << true << web + Records{"select all:^a"};
        QTest::newRow("Select All") << true << true
                                    << web + Records{"select all:^a", "save file:^s", "find:^f",
                                                     "go to line:^g", "close tab:^w"};
        QTest::newRow("let go elsewhere") << true << false << web;
    }

    void dragAndDrop()
    {
        QFETCH(bool, selectAll);
        QFETCH(bool, onWeb);
        QFETCH(Records, web);
        if (selectAll)
            child<QAction>("mnuDicSelAll")->trigger();
        QWidget *vocabularies = child<QListWidget>("lstVocab")->viewport();
        if (onWeb) {
            drag(0, {{vocabularies, vocabularyLine(1)}});
        } else {
            drag(0, {{vocabularies, QPoint(20, vocabularies->height() - 3)},
                     {child<QLineEdit>("txtCommand"), QPoint(10, 5)}});
        }
        QTRY_COMPARE(words("Web"), web);
        QTRY_COMPARE(window().vocabularyList().selectedIndex(), onWeb ? 1 : 0);
        QCOMPARE(m_timerBeforeRelease, !onWeb); // the drag did pass the list's bottom
        QVERIFY(!window().findChild<QTimer *>("tmrExtend")->isActive());
        QCOMPARE(words("Editing").size(), 6);
        QCOMPARE(lines(child<QListWidget>("lstDictionary")).size(),
                 6); // the dragged words, until a click on a vocabulary
        QTest::mouseClick(vocabularies, Qt::LeftButton, {}, vocabularyLine(onWeb ? 0 : 1));
        QCOMPARE(lines(child<QListWidget>("lstDictionary")).size(), onWeb ? 6 : web.size());
        QCOMPARE(m_desktop->prompter.shown().size(), 0);
    }

    void screenshot()
    {
        auto *list = child<QListWidget>("lstDictionary");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lineCentre(list, 1));
        QCOMPARE(child<QLineEdit>("txtCommand")->text(), QString("save file:^s"));
        QCOMPARE(window().windowTitle(), QString("Vocabulary/Dictionary Configuration"));
        ConfigWindowSession::screenshot(window(), "frmVocab");
    }
};

int main(int argc, char *argv[])
{
    return runOnXvfb<TestFrmVocabX11>(argc, argv, "1280x800");
}

#include "tst_frmvocabx11.moc"
