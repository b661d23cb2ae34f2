#pragma once

#include <optional>

#include "EditResult.h"

#include <QStringList>

class MemoryListBox;

// The rules of editing the vocabularies (vocab/<name>.txt, one dictionary word "phrase:keys" a
// record), the same for the vocabulary window and the command line. Indexes count words from 0
// in record order. Every edit returns an EditResult and shows nothing; the caller presents it.
class Vocabularies
{
public:
    static constexpr int MaxCount = 30;

    struct Words
    {
        QStringList words;
        // Failed when a damaged record ended the listing; the words before it are listed.
        EditResult result;
    };

    struct Copied
    {
        EditResult result;
        int added = 0;
    };

    explicit Vocabularies(const QString &programDir);

    // In the order every listing of the vocabularies uses.
    QStringList names() const;
    // Refused for a name already listed (case ignored, as the list's own search), beyond the
    // limit of 30 vocabularies, and for a name that would not list back as itself.
    EditResult create(const QString &name);
    // Refused unless name is a listed vocabulary: there is nothing selected to delete.
    EditResult remove(const QString &name);
    Words words(const QString &name);
    // Appends word after the last word.
    EditResult addWord(const QString &name, const QString &word);
    // Replaces the first word equal to the one at index, as a click on it in the window selects
    // the first record equal to it.
    EditResult setWord(const QString &name, int index, const QString &word);
    // Replaces the first word equal to shown (case counts) by word. When the vocabulary no longer
    // holds shown, word is stored after the last word, so that what was typed is kept.
    EditResult replaceWord(const QString &name, const QString &shown, const QString &word);
    EditResult deleteWord(const QString &name, int index);
    // Deletes the word that a list shows at index. The list may lag behind the file (a word saved
    // since is not listed yet), so the word at index goes only when it is shown; else the first
    // word equal to shown. Done without a change when the vocabulary no longer holds shown.
    EditResult deleteShownWord(const QString &name, int index, const QString &shown);
    // Appends to target, after its last record, every one of words it does not hold yet (compared
    // whole, case counts), each once, in order. Its records stay where they are, empty ones
    // included, and the file is rewritten whole or not at all.
    Copied copyWords(const QString &target, const QStringList &words);
    // Regenerates temp.txt from the application list and the vocabularies, in listing order.
    EditResult writeGrammar() const;

private:
    bool exists(const QString &name) const;
    EditResult unknown(const QString &name) const;
    // Raises the error of a damaged record, with the words before it in list.
    void fill(const QString &name, MemoryListBox &list) const;
    // Every word of the vocabulary, or why they cannot be had (no such vocabulary, a damaged
    // record: an edit behind it would lose the words after it).
    std::optional<EditResult> readWhole(const QString &name, QStringList &words) const;
    static EditResult noWordAt(int index);
    // Makes the vocabulary hold exactly these words, in this order; the old file stays whole
    // unless the new one is complete.
    EditResult rewrite(const QString &name, const QStringList &words);
    static QString nameProblem(const QString &name);

    QString m_dir;
};
