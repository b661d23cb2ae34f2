#pragma once

#include <QtGlobal>
#include <random>

// A quiet noise floor under the sound. The model's silence was learnt from rooms, never from
// digital zeros: under a floor, pauses are not taken for words. The same stream gets the same
// floor after reset().
class NoiseFloor
{
public:
    static constexpr qsizetype FrameSamples = 160;

    // The frame with the floor added; valid until the next call.
    const qint16 *added(const qint16 *frame);
    void reset();

private:
    std::minstd_rand m_random;
    std::normal_distribution<double> m_noise;
    qint16 m_frame[FrameSamples] = {};
};
