#pragma once

#include <QString>
#include <functional>

class CVocab;
class DictionaryList;
class ListBox;
class Prompter;
class QLineEdit;
class QWidget;

// The word operations of the vocabulary window: saving the edit box, New Word, Delete Word and
// Copy Words To... They work on the selected vocabulary through the engine, which decides, and
// show its messages.
class DictionaryEditor
{
public:
    struct Controls
    {
        ListBox &vocabularies; // lstVocab
        QWidget &lstVocab;
        DictionaryList &lstDictionary;
        QLineEdit &txtCommand;
    };

    // newVocabulary: the window's New Vocabulary, which New Word offers when none is selected.
    DictionaryEditor(const QString &programDir, Controls controls, CVocab &vocab,
                     Prompter &prompter, std::function<void()> newVocabulary);

    // The edit box over the current word when it is selected, else after the last word.
    void SaveWord();
    void NewWord();
    // Deletes the current word, selected or not.
    void DictionaryDelete();
    void deleteFromMenu();
    // Copies the selected words to a vocabulary the user names, as a drop does.
    void copyWordsTo();

private:
    QString selectedVocabulary() const;

    QString m_dir;
    Controls m_c;
    CVocab &m_vocab;
    Prompter &m_prompter;
    std::function<void()> m_newVocabulary;
};
