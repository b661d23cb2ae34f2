#include "ConfigWindowSession.h"

#include <QAccessible>
#include <QLineEdit>
#include <QToolButton>

// The vocabulary window offscreen: saving words, making and deleting vocabularies, switching to
// the application window and back, New Word, the keyboard.
class TestFrmVocab : public ConfigWindowSession
{
    Q_OBJECT

private:
    // File > New Vocabulary "Fresh", which leaves no vocabulary selected.
    void makeFresh(frmVocab &w)
    {
        m_desktop->prompter.queueText("Fresh");
        child<QAction>(w, "mnuNewVocab")->trigger();
        m_desktop->prompter.clear();
    }

private Q_SLOTS:
    void init() { start(); }

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
            if (vocab.isEmpty())
                makeFresh(w);
            else
                w.vocabularyList().setSelectedIndex(vocabularyNames(3).indexOf(vocab));
            auto *list = child<QListWidget>(w, "lstDictionary");
            if (clicked >= 0)
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lineCentre(list, clicked));
            auto *txtCommand = child<QLineEdit>(w, "txtCommand");
            txtCommand->setText("typed:1");
            use(w, control);
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
            if (selected)
                w.vocabularyList().setSelectedIndex(2);
            else
                makeFresh(w);
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

    // To the application window and back, then Close: the first switch shows the list Configure
    // filled, each later switch fills the other window's lists afresh; closing writes the grammar
    // and empties the application list.
    void switchBothWaysThenClose()
    {
        QFile::remove(data("temp.txt"));
        QStringList seen;
        whileAppOpen([&](frmApp &app) {
            writeVocab("Added", {"new:1"});
            for (const char *button : {"cmdToggle", "cmdCloseVocab"}) {
                QTimer::singleShot(0, [&] {
                    auto &w = dynamic_cast<frmVocab &>(m_window->configWindows().vocabulary());
                    auto *vocabularies = child<QListWidget>(w, "lstVocab");
                    seen.append(lines(vocabularies).join(",") + " | " +
                                vocabularies->currentItem()->text() + ": " +
                                lines(child<QListWidget>(w, "lstDictionary")).join(","));
                    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
                });
                QTest::mouseClick(child<QPushButton>(app, "cmdToggle"), Qt::LeftButton);
                seen.append(QString("app %1 %2 %3")
                                .arg(app.isVisible())
                                .arg(app.applications().count())
                                .arg(app.vocabularyNames().count()));
            }
        });
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
            if (selected < 0)
                makeFresh(w);
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

    // Tab visits the controls in their order, each named for assistive tools; every toolbar
    // image loaded. The words are copied with the keyboard alone.
    void keyboardAndAssistiveTools()
    {
        whileOpen([&](frmVocab &w) {
            checkKeyboardAccess(
                w, "tbrVocab_",
                {"NewVocab", "DelVocab", "SvCh", "SelDict", "Switch", "NewDict", "DelDict", "Help"},
                {"cmdToggle", "lstDictionary", "lstVocab", "txtCommand", "cmdSaveChanges",
                 "cmdCloseVocab", "cmdToggle"});
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
