#pragma once

#include "VocabWindowActions.h"
#include "VocabularyWindow.h"
#include "data/CVocab.h"

#include <QMainWindow>
#include <memory>

class ConfigWindows;
class DictionaryEditor;
class DictionaryList;
class ListWidgetBox;
class Prompter;
class QEventLoop;
class QLabel;
class QLineEdit;
class QPushButton;
class VocabularyList;
class WordDrop;
class WordPickup;

// The vocabulary window: the vocabularies on the left, the words of the selected one on the
// right, one word edited below. Words are copied into another vocabulary by dragging them onto
// it, or with Copy Words To... Every change goes to the files at once, through the engine, which
// decides; the grammar is written when the window unloads.
class frmVocab : public QMainWindow, public VocabularyWindow
{
    Q_OBJECT

public:
    explicit frmVocab(ConfigWindows &windows, QWidget *parent = nullptr);
    ~frmVocab() override;

    ListBox &vocabularyList() override;
    bool showModal() override;
    bool isUnloaded() const { return m_unloaded; }
    // Writes the grammar, empties the application window's list, keeps the window's position.
    void unload();

    // Deletes the selected vocabulary after asking.
    void VocabularyDelete();
    // Deletes the current word of the selected vocabulary, selected or not.
    void DictionaryDelete();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void setTabOrderAndNames();
    void connectActions();
    void connectLists();
    Prompter &prompter() const;
    QString selectedVocabulary() const;
    void vocabularyClick();
    void loadWords(const QString &name);
    void wordClick();
    void leftPress(int y);
    void dragEnded(Qt::DropAction action);
    void NewVocabulary();
    void switchToApplications();
    void showHelp();
    void quitModal();

    ConfigWindows &m_windows;
    QString m_dir;
    CVocab m_vocab;
    VocabWindowActions m_actions;
    VocabularyList *m_lstVocab = nullptr;
    DictionaryList *m_lstDictionary = nullptr;
    QLabel *m_lblVocab = nullptr;
    QLineEdit *m_txtCommand = nullptr;
    QPushButton *m_cmdSaveChanges = nullptr;
    QPushButton *m_cmdToggle = nullptr;
    QPushButton *m_cmdCloseVocab = nullptr;
    std::unique_ptr<ListWidgetBox> m_vocabBox;
    std::unique_ptr<ListWidgetBox> m_dictionaryBox;
    std::unique_ptr<WordPickup> m_pickup;
    std::unique_ptr<DictionaryEditor> m_editor;
    WordDrop *m_drop = nullptr;
    // The vocabulary whose words the word list shows; after a drop the target is selected.
    QString m_shownVocabulary;
    QEventLoop *m_modalLoop = nullptr;
    bool m_switched = false;
    bool m_shown = false;
    bool m_unloaded = false;
};
