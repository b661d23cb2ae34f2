#include "Noise.h"

#include "Corpus.h"

#include <cmath>
#include <random>

double Noise::rms(const QList<double> &values)
{
    double sum = 0;
    for (const double v : values)
        sum += v * v;
    return values.isEmpty() ? 0 : std::sqrt(sum / double(values.size()));
}

QList<double> Noise::pink(qsizetype count, quint32 seed)
{
    // Paul Kellet's filter of white noise gives a -3 dB/octave spectrum.
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0, 1);
    QList<double> noise(count);
    double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double w = white(random);
        b0 = 0.99886 * b0 + w * 0.0555179;
        b1 = 0.99332 * b1 + w * 0.0750759;
        b2 = 0.96900 * b2 + w * 0.1538520;
        b3 = 0.86650 * b3 + w * 0.3104856;
        b4 = 0.55000 * b4 + w * 0.5329522;
        b5 = -0.7616 * b5 - w * 0.0168980;
        noise[i] = b0 + b1 + b2 + b3 + b4 + b5 + b6 + w * 0.5362;
        b6 = w * 0.115926;
    }
    return noise;
}

QList<double> Noise::brown(qsizetype count, quint32 seed)
{
    // Integrated white noise, leaking slowly so that it does not wander off; the leak puts the
    // corner near 30 Hz, below the band the recognizer listens to.
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0, 1);
    QList<double> noise(count);
    double level = 0;
    for (qsizetype i = 0; i < count; ++i) {
        level = 0.988 * level + white(random);
        noise[i] = level;
    }
    return noise;
}

QList<double> Noise::fromSamples(const QList<qint16> &samples, qsizetype from, qsizetype count)
{
    QList<double> noise(count, 0);
    for (qsizetype i = 0; i < count && !samples.isEmpty(); ++i)
        noise[i] = samples[(from + i) % samples.size()];
    return noise;
}

QList<qint16> Noise::mix(const QList<qint16> &speech, const QList<double> &noise, double snrDb)
{
    const double noiseRms = rms(noise);
    const double scale =
        noiseRms > 0 ? Corpus::speechRms(speech) / std::pow(10.0, snrDb / 20) / noiseRms : 0;
    QList<qint16> mixed(speech.size());
    for (qsizetype i = 0; i < speech.size(); ++i) {
        const double n = i < noise.size() ? noise[i] * scale : 0;
        mixed[i] = qint16(qBound(-32768.0, std::round(speech[i] + n), 32767.0));
    }
    return mixed;
}
