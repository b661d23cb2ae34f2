#include "Corpus.h"

#include "recognizer/audio/WavReader.h"

#include <QProcess>
#include <QStandardPaths>
#include <cmath>

namespace {

constexpr int kFrame = 160; // 10 ms

double frameRms(const QList<qint16> &samples, qsizetype start)
{
    double sum = 0;
    const qsizetype end = qMin(samples.size(), start + kFrame);
    for (qsizetype i = start; i < end; ++i)
        sum += double(samples[i]) * samples[i];
    return end > start ? std::sqrt(sum / (end - start)) : 0;
}

double loudestFrame(const QList<qint16> &samples)
{
    double loudest = 0;
    for (qsizetype f = 0; f < samples.size(); f += kFrame)
        loudest = std::max(loudest, frameRms(samples, f));
    return loudest;
}

// A frame belongs to speech when it is within 35 dB of the loudest frame.
bool isSpeechFrame(double rms, double loudest)
{
    return rms > std::max(30.0, loudest * 0.018);
}

} // namespace

QString Corpus::missingTools()
{
    QStringList missing;
    for (const char *tool : {"espeak-ng", "flite"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing.append(QLatin1String(tool));
    }
    return missing.isEmpty()
               ? QString()
               : QStringLiteral("install the Debian packages: ") + missing.join(QLatin1Char(' '));
}

QList<qint16> Corpus::synthesize(const Voice &voice, const QString &text, const QString &workDir,
                                 QString *error)
{
    const QString wav = workDir + QStringLiteral("/synth.wav");
    QProcess process;
    if (voice.program == QLatin1String("flite"))
        process.start("flite", {"-voice", voice.voice, "-t", text, "-o", wav});
    else
        process.start("espeak-ng", {"-v", voice.voice, "-w", wav, text});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        *error = voice.program + QStringLiteral(" failed: ") +
                 QString::fromLocal8Bit(process.readAllStandardError());
        return {};
    }
    QList<qint16> samples;
    if (!WavReader::read(wav, &samples, error))
        return {};
    return samples;
}

qsizetype Corpus::startOfSpeech(const QList<qint16> &samples)
{
    const double loudest = loudestFrame(samples);
    for (qsizetype f = 0; f < samples.size(); f += kFrame) {
        if (isSpeechFrame(frameRms(samples, f), loudest))
            return f;
    }
    return samples.size();
}

qsizetype Corpus::endOfSpeech(const QList<qint16> &samples)
{
    const double loudest = loudestFrame(samples);
    for (qsizetype f = (samples.size() - 1) / kFrame * kFrame; f >= 0; f -= kFrame) {
        if (isSpeechFrame(frameRms(samples, f), loudest))
            return qMin(samples.size(), f + kFrame);
    }
    return 0;
}

double Corpus::speechRms(const QList<qint16> &samples)
{
    const double loudest = loudestFrame(samples);
    double sum = 0;
    qsizetype count = 0;
    for (qsizetype f = 0; f < samples.size(); f += kFrame) {
        const double rms = frameRms(samples, f);
        if (isSpeechFrame(rms, loudest)) {
            sum += rms * rms;
            ++count;
        }
    }
    return count ? std::sqrt(sum / count) : 0;
}

double Corpus::loudestLevel(const QList<qint16> &samples)
{
    constexpr qsizetype window = 800; // the level meter's 50 ms
    double loudest = 0;
    for (qsizetype start = 0; start + window <= samples.size(); start += window) {
        double sum = 0;
        for (qsizetype i = start; i < start + window; ++i)
            sum += double(samples[i]) * samples[i];
        loudest = std::max(loudest, std::sqrt(sum / window));
    }
    return loudest;
}
