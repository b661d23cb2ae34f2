#pragma once

#include <QList>
#include <QtGlobal>

// The sound beside a television that is never switched off: one text after another, each in a
// slot of its own, over talk that goes on from slot to slot and the noise of a quiet room. The
// engine hears it as one stream, so what it learns of the talk carries on from one command to
// the next, as it does for a user; the talk is cut only where the recording under it ends.
class TalkStream
{
public:
    static constexpr int SlotMs = 8000;
    // Where the text's speech starts in its slot: the talk has been going on for that long.
    static constexpr int SpeechAtMs = 3000;

    // talk is played from its start on, and again from its start where it ends, snrDb below
    // speechRms, the level of the speech that will be said over it.
    TalkStream(const QList<qint16> &talk, double speechRms, double snrDb, quint32 seed);

    // The next slot, with speech starting at SpeechAtMs.
    QList<qint16> slot(const QList<qint16> &speech);

private:
    const QList<qint16> &m_talk;
    double m_talkGain;
    double m_roomGain;
    quint32 m_seed;
    qsizetype m_talkAt = 0;
};
