#include "LevelMeter.h"

#include <cmath>

void LevelMeter::add(const qint16 *samples, int count, QList<int> *levels)
{
    for (int i = 0; i < count; ++i) {
        m_window[m_filled++] = samples[i];
        if (m_filled == WindowSamples) {
            levels->append(rms(m_window, WindowSamples));
            m_filled = 0;
        }
    }
}

int LevelMeter::rms(const qint16 *samples, int count)
{
    if (count <= 0)
        return 0;
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += double(samples[i]) * samples[i];
    return int(std::lround(std::sqrt(sum / count)));
}
