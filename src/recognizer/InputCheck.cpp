#include "InputCheck.h"

#include <cstdlib>

namespace {

constexpr int kHoldWindows =
    InputCheck::HoldMs * InputCheck::SampleRate / 1000 / InputCheck::WindowSamples;

} // namespace

void InputCheck::reset()
{
    *this = InputCheck();
}

bool InputCheck::add(const qint16 *samples, int count)
{
    const Condition before = m_condition;
    for (int i = 0; i < count; ++i) {
        const int magnitude = std::abs(int(samples[i]));
        m_peak = qMax(m_peak, magnitude);
        if (magnitude >= 32767)
            ++m_clipped;
        if (++m_filled == WindowSamples)
            endWindow();
    }
    return m_condition != before;
}

void InputCheck::endWindow()
{
    m_sinceClipped = m_clipped >= ClippedSamples ? 0 : qMin(m_sinceClipped + 1, 1 << 20);
    m_quietWindows = m_peak < QuietPeak ? m_quietWindows + 1 : 0;
    if (m_sinceClipped < kHoldWindows)
        m_condition = Condition::Clipping;
    else if (m_quietWindows >= kHoldWindows)
        m_condition = Condition::TooQuiet;
    else
        m_condition = Condition::Normal;
    m_filled = 0;
    m_peak = 0;
    m_clipped = 0;
}
