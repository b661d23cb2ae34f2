#pragma once

#include <QList>

#include <random>

// Talk as from a television that stays on: the voices take turns, a sentence at a time, mostly
// one after another with a pause, now and then one starting before the other has finished.
// Read a piece at a time, it goes on where the last piece ended, so that no sentence is cut
// where one piece ends and the next begins.
class Conversation
{
public:
    // voices: for each voice its sentences, 16 kHz mono; they must outlive the conversation.
    Conversation(const QList<QList<QList<qint16>>> &voices, quint32 seed);

    // The next samples of the talk.
    QList<qint16> next(qsizetype samples);
    // The rest of the sentences under way, to their end: the talk of a television switched off
    // once its speakers have finished what they were saying; the talk ends there. Empty when
    // no sentence is under way.
    QList<qint16> rest();

private:
    void add(const QList<qint16> &sentence, QList<double> *sum);

    const QList<QList<QList<qint16>>> &m_voices;
    std::mt19937 m_random;
    // Where the next sentence starts, from the start of the next piece.
    qsizetype m_at = 0;
    qsizetype m_voice = 0;
    // The sentences' samples that reach past the piece read last.
    QList<double> m_carried;
};
