#pragma once

#include <QtGlobal>
#include <random>

// A quiet noise floor under the sound. The model's silence was learnt from rooms, never from
// digital zeros: under a floor, pauses are not taken for words. The same stream gets the same
// floor after reset(), and zeros draw their floor apart from sound, so that sound after zeros
// gets the floor it gets without them.
class NoiseFloor
{
public:
    static constexpr qsizetype FrameSamples = 160;

    // The frame with the floor added; valid until the next call.
    const qint16 *added(const qint16 *frame, bool digitalSilence);
    void reset();

private:
    // A generator with its distribution (which keeps a draw in hand) for sound, one for zeros.
    struct Source
    {
        std::minstd_rand random;
        std::normal_distribution<double> noise;
    };
    Source m_sound;
    Source m_silence;
    qint16 m_frame[FrameSamples] = {};
};
