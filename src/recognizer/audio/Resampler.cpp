#include "Resampler.h"

#include <QtGlobal>
#include <cmath>

Resampler::Resampler(int rate)
    : m_step(double(rate) / TargetRate),
      m_width(rate > TargetRate ? int(std::lround(double(rate) / TargetRate)) : 1),
      m_recent(size_t(qMax(m_width, 1)), 0.0f)
{}

void Resampler::push(const float *mono, qsizetype count, QList<qint16> *out)
{
    m_smoothed.reserve(m_smoothed.size() + size_t(count));
    for (qsizetype i = 0; i < count; ++i) {
        const float x = mono[i];
        if (m_width <= 1) {
            m_smoothed.push_back(x);
        } else {
            const size_t slot = size_t(m_inputs % m_width);
            m_sum += x;
            if (m_inputs >= m_width)
                m_sum -= m_recent[slot];
            m_recent[slot] = x;
            m_smoothed.push_back(float(m_sum / qMin<qint64>(m_inputs + 1, m_width)));
        }
        ++m_inputs;
    }
    interpolate(false, out);
}

void Resampler::finish(QList<qint16> *out)
{
    interpolate(true, out);
}

void Resampler::interpolate(bool atEnd, QList<qint16> *out)
{
    const qint64 total = m_smoothedBase + qint64(m_smoothed.size());
    // The output lasts as long as the input, rounded up; until the end, a sample waits for the
    // one after the point it is taken at.
    const qint64 count = atEnd ? qint64(std::ceil(total / m_step)) : total;
    auto smoothed = [this, total](qint64 at) {
        return at < total ? m_smoothed[size_t(at - m_smoothedBase)] : 0.0f;
    };
    while (m_outputs < count) {
        const double at = m_outputs * m_step;
        const qint64 j = qint64(at);
        if (!atEnd && j + 1 >= total)
            break;
        const double frac = at - j;
        const float a = smoothed(j);
        const float b = j + 1 < total ? smoothed(j + 1) : a;
        const double v = (a + (b - a) * frac) * 32768.0;
        out->append(qint16(qBound(-32768.0, std::round(v), 32767.0)));
        ++m_outputs;
    }
    // What lies before the next output's point is not needed again.
    const qint64 keepFrom = qMin(qint64(m_outputs * m_step), total);
    m_smoothed.erase(m_smoothed.begin(), m_smoothed.begin() + (keepFrom - m_smoothedBase));
    m_smoothedBase = keepFrom;
}
