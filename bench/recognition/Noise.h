#pragma once

#include <QList>

// Noises for the benchmark's conditions, reproducible from a seed, and their mixing with speech.
namespace Noise {

// Pink noise (-3 dB per octave), as of air conditioning or rain.
QList<double> pink(qsizetype count, quint32 seed);
// Brown noise (-6 dB per octave), as of a fan or a car: its power lies in the low frequencies.
QList<double> brown(qsizetype count, quint32 seed);
// Babble or any other recorded sound as noise.
QList<double> fromSamples(const QList<qint16> &samples, qsizetype from, qsizetype count);

// speech with noise added at snrDb below the level of its speech (Corpus::speechRms); noise
// is as long as speech.
QList<qint16> mix(const QList<qint16> &speech, const QList<double> &noise, double snrDb);
// The root mean square of values, over all of them (pauses too); 0 for none.
double rms(const QList<double> &values);

} // namespace Noise
