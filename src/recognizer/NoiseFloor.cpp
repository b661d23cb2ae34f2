#include "NoiseFloor.h"

#include <cmath>

namespace {

constexpr double kRms = 100;

} // namespace

const qint16 *NoiseFloor::added(const qint16 *frame)
{
    for (qsizetype i = 0; i < FrameSamples; ++i) {
        const double noise = m_noise(m_random) * kRms;
        m_frame[i] = qint16(qBound(-32768.0, frame[i] + std::round(noise), 32767.0));
    }
    return m_frame;
}

void NoiseFloor::reset()
{
    m_random.seed();
    m_noise.reset();
}
