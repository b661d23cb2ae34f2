#include "NoiseFloor.h"

#include <cmath>

namespace {

constexpr double kRms = 100;

} // namespace

const qint16 *NoiseFloor::added(const qint16 *frame, bool digitalSilence)
{
    Source &source = digitalSilence ? m_silence : m_sound;
    for (qsizetype i = 0; i < FrameSamples; ++i) {
        const double noise = source.noise(source.random) * kRms;
        m_frame[i] = qint16(qBound(-32768.0, frame[i] + std::round(noise), 32767.0));
    }
    return m_frame;
}

void NoiseFloor::reset()
{
    for (Source *source : {&m_sound, &m_silence}) {
        source->random.seed();
        source->noise.reset();
    }
}
