#pragma once

#include <QList>
#include <vector>

// Mono sound in [-1, 1] at any rate to 16 kHz 16-bit, a piece at a time: what comes out does not
// depend on how the sound is cut into pieces, and only a few samples are kept between them.
// Above 16 kHz a moving average over the ratio takes out most of what would fold back below
// 8 kHz; then the samples are interpolated linearly.
class Resampler
{
public:
    static constexpr int TargetRate = 16000;

    explicit Resampler(int rate);

    // More sound: the samples it completes are appended to out.
    void push(const float *mono, qsizetype count, QList<qint16> *out);
    // The sound ends: the last samples are appended to out.
    void finish(QList<qint16> *out);

private:
    void interpolate(bool atEnd, QList<qint16> *out);

    double m_step;
    int m_width;
    // The last m_width samples in (a ring) and their sum, for the moving average.
    std::vector<float> m_recent;
    double m_sum = 0;
    qint64 m_inputs = 0;
    // Smoothed samples from m_smoothedBase on that are still needed for interpolation.
    std::vector<float> m_smoothed;
    qint64 m_smoothedBase = 0;
    qint64 m_outputs = 0;
};
