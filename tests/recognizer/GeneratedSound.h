#pragma once

#include <QList>
#include <cmath>
#include <random>

// Generated 16 kHz sound for the tests of the recognizer's level and speech detectors.
namespace GeneratedSound {

// ms of steady noise of that RMS amplitude, as a fan or a quiet room gives; 0: exact zeros.
inline QList<qint16> noise(int ms, double rms, quint32 seed = 1)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, rms > 0 ? rms : 1);
    QList<qint16> samples(ms * 16, 0);
    if (rms > 0) {
        for (qint16 &s : samples)
            s = qint16(qBound(-32768.0, std::round(gauss(random)), 32767.0));
    }
    return samples;
}

// ms of a sine of that peak amplitude.
inline QList<qint16> tone(int ms, double amplitude, double hz = 440)
{
    QList<qint16> samples(ms * 16);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = qint16(std::round(amplitude * std::sin(2 * M_PI * hz * double(i) / 16000)));
    return samples;
}

} // namespace GeneratedSound
