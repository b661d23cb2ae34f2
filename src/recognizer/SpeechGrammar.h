#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The phrases of a grammar file as the recognizer hears them: one key per distinct word sequence,
// and for each key the first phrase that has it, so that a result comes back spelled exactly as
// the file (or, for the recognizer's own phrases, the recognizer) writes it.
class SpeechGrammar
{
public:
    // ownPhrases: the recognizer's own, heard beside the file's. They come first and keep their
    // spelling; a phrase of the file that sounds like one of them is left out with a warning.
    explicit SpeechGrammar(const QStringList &phrases = {}, const QStringList &ownPhrases = {});

    // The distinct keys, in the order of their first phrase.
    const QList<QStringList> &keys() const { return m_keys; }
    // One line for each phrase of the file that was left out: nothing in it can be pronounced,
    // or it sounds like one of the own phrases.
    const QStringList &warnings() const { return m_warnings; }
    bool isEmpty() const { return m_keys.isEmpty(); }

    // The phrase for a word sequence, empty when it is none of the grammar's phrases.
    QString phraseFor(const QString &key) const { return m_phrases.value(key); }
    // Whether some phrase goes on after these words ("page" of "page down").
    bool isPrefixOfLonger(const QString &key) const { return m_prefixes.contains(key); }

private:
    // False when the phrase gives no words.
    bool add(const QString &phrase);

    QList<QStringList> m_keys;
    QHash<QString, QString> m_phrases;
    QSet<QString> m_prefixes;
    QStringList m_warnings;
};
