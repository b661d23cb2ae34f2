#include "DictionaryEditor.h"

#include "DictionaryList.h"
#include "data/CVocab.h"
#include "data/ListBox.h"
#include "engine/Vocabularies.h"
#include "platform/Prompter.h"

#include <QLineEdit>

DictionaryEditor::DictionaryEditor(const QString &programDir, Controls controls, CVocab &vocab,
                                   Prompter &prompter, std::function<void()> newVocabulary)
    : m_dir(programDir), m_c(controls), m_vocab(vocab), m_prompter(prompter),
      m_newVocabulary(std::move(newVocabulary))
{}

QString DictionaryEditor::selectedVocabulary() const
{
    const int selected = m_c.vocabularies.selectedIndex();
    return selected >= 0 ? m_c.vocabularies.item(selected) : QString();
}

void DictionaryEditor::SaveWord()
{
    m_vocab.DictionaryInitialize(); // words picked up for a drag are forgotten
    const QString name = selectedVocabulary();
    if (name.isEmpty()) {
        m_prompter.showMessage(QStringLiteral("You must select a Vocabulary!"), kProgramTitle,
                               Prompter::Icon::None);
        m_c.txtCommand.setFocus();
        m_c.txtCommand.selectAll();
        return;
    }
    const QListWidgetItem *current = m_c.lstDictionary.currentItem();
    const QString text = m_c.txtCommand.text();
    EditResult result = EditResult::refused({}); // an empty word list has no word to save over
    if (current) // the edited text replaces the word clicked last, else it is appended
        result = current->isSelected()
                     ? Vocabularies(m_dir).replaceWord(name, current->text(), text)
                     : Vocabularies(m_dir).addWord(name, text);
    if (result.outcome == EditResult::Outcome::Refused)
        m_prompter.showMessage(QStringLiteral("Please select a vocabulary!"),
                               QStringLiteral("No Vocabulary Selected"), Prompter::Icon::Critical);
    else
        result.show(m_prompter); // a failure says why: a word too long, a file that is locked
}

void DictionaryEditor::NewWord()
{
    if (m_c.vocabularies.selectedIndex() < 0) {
        m_prompter.showMessage(QStringLiteral("You must select or create a vocabulary first!"),
                               QStringLiteral("No Vocabulary Selection"), Prompter::Icon::Critical);
        m_newVocabulary();
    }
    m_c.lstVocab.setFocus();
    // Selecting the next line and back shows the vocabulary's words afresh, none selected, and
    // empties the edit box; with the last vocabulary selected there is no next line.
    const int selected = m_c.vocabularies.selectedIndex();
    if (m_c.vocabularies.count() > 0 && selected + 1 < m_c.vocabularies.count()) {
        m_c.vocabularies.setSelectedIndex(selected + 1);
        m_c.vocabularies.setSelectedIndex(selected); // none: the click selects line 0 again
    }
    m_c.txtCommand.setFocus();
}

void DictionaryEditor::DictionaryDelete()
{
    m_vocab.DictionaryInitialize();
    const int current = m_c.lstDictionary.currentRow();
    if (current < 0)
        return; // no word to delete
    const QString name = selectedVocabulary();
    if (!name.isEmpty()) { // none selected: the words of a deleted vocabulary, without a file
        // Rebuilt from the file, not from the list: a word saved since the list was filled stays.
        const EditResult result = Vocabularies(m_dir).deleteShownWord(
            name, current, m_c.lstDictionary.item(current)->text());
        if (result.outcome == EditResult::Outcome::Failed) {
            result.show(m_prompter); // the file is as it was, and so is the list
            return;
        }
    }
    delete m_c.lstDictionary.takeItem(current); // other selected lines stay selected
}

void DictionaryEditor::deleteFromMenu()
{
    if (m_c.lstDictionary.count() == 0) {
        m_prompter.showMessage(QStringLiteral("You have no Dictionary!"),
                               QStringLiteral("No Dictionary"), Prompter::Icon::Critical);
        return;
    }
    DictionaryDelete();
    m_c.lstVocab.setFocus();
}

void DictionaryEditor::copyWordsTo()
{
    QStringList words; // in list order
    for (int row = 0; row < m_c.lstDictionary.count(); ++row) {
        if (m_c.lstDictionary.item(row)->isSelected())
            words.append(m_c.lstDictionary.item(row)->text());
    }
    if (words.isEmpty()) {
        m_prompter.showMessage(QStringLiteral("You Must Select A Dictionary Word!"), kProgramTitle,
                               Prompter::Icon::None);
        return;
    }
    const QString answer =
        m_prompter
            .askText(QStringLiteral("Copy the selected words to the vocabulary: "),
                     QStringLiteral("Copy Words To"))
            .value_or(QString());
    if (answer.isEmpty())
        return;
    const int listed = m_c.vocabularies.findExact(answer);
    const QString target = listed >= 0 ? m_c.vocabularies.item(listed) : answer;
    const Vocabularies::Copied copied = Vocabularies(m_dir).copyWords(target, words);
    if (!copied.result.isDone()) {
        copied.result.show(m_prompter);
        return;
    }
    // A drop shows the target selected; this says what came of the copy.
    QString done = QStringLiteral("%1 words copied to %2.").arg(copied.added).arg(target);
    if (copied.added == 0)
        done = QStringLiteral("%1 holds these words already.").arg(target);
    else if (copied.added == 1)
        done = QStringLiteral("1 word copied to %1.").arg(target);
    m_prompter.showMessage(done, QStringLiteral("Words Copied"), Prompter::Icon::Information);
}
