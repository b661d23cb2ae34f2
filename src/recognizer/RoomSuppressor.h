#pragma once

#include "NoiseSuppressor.h"
#include "SpeechDetector.h"

#include <QtGlobal>

// Takes noise out of the sound as hard as the room needs, 10 ms at a time: gently in a quiet
// room, where harder suppression only blurs the speech, harder in a noisy one, where the noise
// would otherwise be taken for words.
//
// The room is the background of the sound as the microphone delivers it (SpeechDetector's floor).
// Both suppressors hear every frame, so that each knows the noise when it is needed.
class RoomSuppressor
{
public:
    static constexpr qsizetype FrameSamples = NoiseSuppressor::FrameSamples;

    // noisyRoomDb: a background louder than this (SpeechDetector::levelDb) makes the room noisy;
    // 0: every room is noisy.
    RoomSuppressor(NoiseSuppressor::Level quietLevel, NoiseSuppressor::Level noisyLevel,
                   double noisyRoomDb);

    // Cleans a frame of FrameSamples samples from input into output. The room is judged anew
    // only when judgeRoom is true: between utterances, so that one is heard one way throughout.
    void process(const qint16 *input, qint16 *output, bool judgeRoom);
    bool isNoisyRoom() const { return m_noisyRoom; }
    // A new stream: the room and its noise are learnt anew.
    void reset();

private:
    NoiseSuppressor m_quiet;
    NoiseSuppressor m_noisy;
    double m_noisyRoomDb;
    SpeechDetector m_room;
    bool m_noisyRoom;
    qint16 m_quietFrame[FrameSamples] = {};
};
