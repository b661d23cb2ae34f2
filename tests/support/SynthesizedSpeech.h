#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// Spoken test phrases: espeak-ng or flite speaks, sox converts to 16 kHz 16-bit mono and adds
// silence around and between the pieces. sox seeds its dither ("-R"), so that a phrase gives the
// same samples in every run.
namespace SynthesizedSpeech {

// Empty when every tool is there, else what to install.
inline QString missingTools()
{
    QStringList missing;
    for (const char *tool : {"espeak-ng", "flite", "sox"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing.append(QLatin1String(tool));
    }
    return missing.isEmpty()
               ? QString()
               : QStringLiteral("install the Debian packages: ") + missing.join(QLatin1Char(' '));
}

// In a test function: fails it, naming what to install, when a synthesis tool is missing.
#define JEV_REQUIRE_SPEECH_SYNTHESIS()                                                             \
    do {                                                                                           \
        if (const QString missing = SynthesizedSpeech::missingTools(); !missing.isEmpty())         \
            QFAIL(qPrintable("The speech tests need speech synthesis: " + missing));               \
    } while (false)

inline bool run(const QString &program, const QStringList &args, QString *error)
{
    QProcess process;
    process.start(program, args);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    *error = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
             QString::fromLocal8Bit(process.readAllStandardError());
    return false;
}

// voice: "espeak:en-us" or "flite:slt". Writes out, a 16 kHz mono WAV with leadSeconds of
// silence before and trailSeconds after the speech.
inline bool say(const QString &voice, const QString &text, const QString &out, QString *error,
                double leadSeconds = 0.5, double trailSeconds = 1.0)
{
    const QString raw = out + QStringLiteral(".raw.wav");
    const QString engine = voice.section(QLatin1Char(':'), 0, 0);
    const QString name = voice.section(QLatin1Char(':'), 1);
    const bool spoken = engine == QLatin1String("flite")
                            ? run("flite", {"-voice", name, "-t", text, "-o", raw}, error)
                            : run("espeak-ng", {"-v", name, "-w", raw, text}, error);
    return spoken && run("sox",
                         {"-R", raw, "-r", "16000", "-c", "1", "-b", "16", out, "pad",
                          QString::number(leadSeconds), QString::number(trailSeconds)},
                         error);
}

// The pieces one after another in one file.
inline bool concatenate(const QStringList &pieces, const QString &out, QString *error)
{
    return run("sox", QStringList{"-R"} + pieces + QStringList{out}, error);
}

inline bool silence(double seconds, const QString &out, QString *error)
{
    return run(
        "sox",
        {"-n", "-r", "16000", "-c", "1", "-b", "16", out, "trim", "0", QString::number(seconds)},
        error);
}

} // namespace SynthesizedSpeech
