#pragma once

#include "Conversation.h"
#include "Corpus.h"

#include <QList>

// Talk in the background, as from a television: the set's talk voices say its talk texts in
// turns, sometimes over each other.
class BackgroundTalk
{
public:
    BackgroundTalk(const Corpus::Set &set, const QString &workDir);

    // Synthesizes the sentences; false with error when that fails.
    bool prepare(QString *error);
    // Talk that goes on for as long as it is read; each number is other talk. The conversation
    // reads the sentences held here.
    Conversation conversation(int number) const;
    // seconds of talk, 16 kHz mono: the start of conversation number.
    QList<qint16> stretch(double seconds, int number) const;

private:
    Corpus::Set m_set;
    QString m_workDir;
    // For each voice, its sentences brought to one speech level.
    QList<QList<QList<qint16>>> m_sentences;
};
