#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The phrases of a grammar file as the recognizer hears them: one key per distinct word sequence,
// and for each key the first phrase of the file that has it, so that a result comes back spelled
// exactly as the file writes it.
class SpeechGrammar
{
public:
    explicit SpeechGrammar(const QStringList &phrases = {});

    // The distinct keys, in the order of their first phrase.
    const QList<QStringList> &keys() const { return m_keys; }
    // One line for each phrase that was left out because nothing in it can be pronounced.
    const QStringList &warnings() const { return m_warnings; }
    bool isEmpty() const { return m_keys.isEmpty(); }

    // The phrase for a word sequence, empty when it is none of the grammar's phrases.
    QString phraseFor(const QString &key) const { return m_phrases.value(key); }
    // Whether some phrase goes on after these words ("page" of "page down").
    bool isPrefixOfLonger(const QString &key) const { return m_prefixes.contains(key); }

private:
    QList<QStringList> m_keys;
    QHash<QString, QString> m_phrases;
    QSet<QString> m_prefixes;
    QStringList m_warnings;
};
