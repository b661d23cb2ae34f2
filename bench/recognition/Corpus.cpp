#include "Corpus.h"

#include "recognizer/audio/WavReader.h"

#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <random>

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

QList<Corpus::Voice> Corpus::voices()
{
    return {{"espeak en-us", "espeak-ng", "en-us"},
            {"espeak en-gb", "espeak-ng", "en-gb"},
            {"espeak en-us+f3", "espeak-ng", "en-us+f3"},
            {"flite slt", "flite", "slt"},
            {"flite rms", "flite", "rms"},
            {"flite awb", "flite", "awb"}};
}

QStringList Corpus::commands()
{
    return {// application names
            "Notepad", "Calculator", "Firefox", "Thunderbird", "Terminal", "File Manager",
            "Audacity", "Text Editor", "Mail", "Music Player", "Calendar", "Spreadsheet",
            // two-word and longer commands
            "switch to", "select all", "save file", "go back", "go forward", "page down", "page up",
            "close window", "new tab", "close tab", "undo that", "copy that", "paste that",
            "scroll down", "scroll up", "zoom in", "zoom out", "next message", "reply to sender",
            "print document",
            // digits
            "press F5", "F12", "tab 3", "line 20", "volume 7", "channel 42",
            // words missing from the dictionary
            "open VLC", "GTK settings", "start Kdenlive", "Gedit", "Inkscape", "Blimtrop",
            "launch Xterm", "LibreOffice"};
}

QStringList Corpus::outOfGrammar()
{
    return {"The weather was lovely when we walked to the harbour yesterday",
            "Could you send me the report before lunch",
            "I think the meeting has been moved to Thursday",
            "Did anyone see where I left my glasses",
            "Let's order pizza tonight",
            "My brother bought a new bicycle",
            "Please remember to water the plants",
            "The train was twenty minutes late again",
            "What time does the shop close on Sunday",
            "She plays the violin beautifully",
            "We should paint the kitchen blue",
            "Honestly I have no idea",
            "Thanks a lot, see you tomorrow",
            "Mark page seven for later",
            "Hello there"};
}

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

QList<qint16> Corpus::withPinkNoise(const QList<qint16> &samples, double snrDb, quint32 seed)
{
    // Paul Kellet's filter of white noise gives a -3 dB/octave spectrum.
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0, 1);
    QList<double> noise(samples.size());
    double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
    double sum = 0;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        const double w = white(random);
        b0 = 0.99886 * b0 + w * 0.0555179;
        b1 = 0.99332 * b1 + w * 0.0750759;
        b2 = 0.96900 * b2 + w * 0.1538520;
        b3 = 0.86650 * b3 + w * 0.3104856;
        b4 = 0.55000 * b4 + w * 0.5329522;
        b5 = -0.7616 * b5 - w * 0.0168980;
        noise[i] = b0 + b1 + b2 + b3 + b4 + b5 + b6 + w * 0.5362;
        b6 = w * 0.115926;
        sum += noise[i] * noise[i];
    }
    const double noiseRms = samples.isEmpty() ? 1 : std::sqrt(sum / samples.size());
    const double scale = speechRms(samples) / std::pow(10.0, snrDb / 20) / noiseRms;
    QList<qint16> mixed(samples.size());
    for (qsizetype i = 0; i < samples.size(); ++i)
        mixed[i] = qint16(qBound(-32768.0, samples[i] + noise[i] * scale, 32767.0));
    return mixed;
}
