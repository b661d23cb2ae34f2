#include "BenchArguments.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

struct ValueOption
{
    const char *name;
    const char *valueName;
    const char *help;
};

// Options that take a value; given twice, the last counts, but --decoder adds each one.
constexpr ValueOption kValueOptions[] = {
    {"sensitivity", "N", "0 refuses the most, 100 accepts the most (default 50)."},
    {"voices", "N", "Only the first N voices of the set."},
    {"talk-minutes", "M", "Minutes of talk alone (default 10)."},
    {"conditions", "NAMES", "Comma-separated conditions, as the table names them."},
    {"decoder", "-NAME=VALUE", "A further PocketSphinx argument, to measure what it does."},
    {"garbage-log10", "X", "The phone loop's price for speech said on its own."},
    {"long-garbage-log10", "X", "The price in long stretches of speech (none: the same)."},
    {"long-speech-ms", "MS", "How long a stretch of speech is long."},
    {"quiet-garbage-log10", "X",
     "The price where no long stretch was heard for a while (none: as on its own)."},
    {"quiet-after-talk-ms", "MS", "How long that while is."},
    {"stretch-tail-ms", "MS", "The silence that ends a phrase in a long stretch."},
    {"suppression", "LEVEL", "WebRTC in a noisy room: low, moderate, high or very-high."},
    {"quiet-suppression", "LEVEL", "WebRTC in a quiet room."},
    {"noisy-room-db", "DB", "Where a room is noisy; 0 makes every room noisy."},
    {"aside-margin-db", "DB", "How much quieter speech beside a phrase must be."},
    {"word-margin-db", "DB", "How much quieter a word may be than its phrase (1000: any)."},
    {"max-frames-per-phone", "N", "The slowest pace of a phrase (0: any)."},
    {"loud-apart-db", "DB", "Hear an utterance's loud part on its own (off unless given)."},
    {"loud-end-ms", "MS", "End an utterance this long after its loud part (0: never)."},
    {"start-when-loud-ms", "MS", "Start utterances near the voice (0: where speech starts)."},
    {"quiet-speech-end-ms", "MS", "End an utterance after quieter speech (0: never)."},
    {"front-groups", "K", "Measure listening only for the phrases of one of K groups."},
};

// Switches; each one switches a remedy off or a measurement on.
constexpr std::pair<const char *, const char *> kSwitches[] = {
    {"dev", "The development set, on which thresholds are chosen (default: evaluation)."},
    {"sweep", "Keep every result, so that the tables show any threshold."},
    {"misses", "List what every condition missed, not only clean speech."},
    {"no-peer", "Do not run pocketsphinx_continuous beside."},
    {"no-voice-level", "Leave the engine without the user's voice level."},
    {"no-noise-suppression", "No WebRTC noise suppression."},
    {"no-digital-silence", "No handling of digital silence."},
    {"no-noise-floor", "No noise floor under the sound."},
    {"cmn-reset", "Reset the cepstral mean for every utterance."},
    {"cmn-speech-colour", "Learn the cepstral mean's colour from speech alone."},
    {"no-find-inside-speech", "Do not look for phrases inside longer speech."},
    {"no-tail-after-talk", "No longer silence after talk."},
    {"no-refuse-after-cut", "Take commands in speech that goes on where an utterance was cut."},
    {"cover-quiet-speech", "Count quiet speech outside the phrase against its coverage."},
    {"front-filter", "With --front-groups: what the program does without narrowing."},
};

[[noreturn]] void fail(const QString &message)
{
    QTextStream(stderr) << "recognition: " << message << Qt::endl;
    std::exit(2);
}

double number(const QCommandLineParser &parser, const char *name)
{
    bool ok = false;
    const QString text = parser.value(QLatin1String(name));
    const double value = text.toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("--%1 wants a number, not \"%2\"").arg(QLatin1String(name), text));
    return value;
}

// Sets target from option name when it was given.
void take(const QCommandLineParser &parser, const char *name, double &target)
{
    if (parser.isSet(QLatin1String(name)))
        target = number(parser, name);
}

void take(const QCommandLineParser &parser, const char *name, int &target)
{
    if (parser.isSet(QLatin1String(name)))
        target = int(number(parser, name));
}

// "none" for no value.
void take(const QCommandLineParser &parser, const char *name, std::optional<double> &target)
{
    if (parser.value(QLatin1String(name)) == QLatin1String("none"))
        target.reset();
    else if (parser.isSet(QLatin1String(name)))
        target = number(parser, name);
}

void take(const QCommandLineParser &parser, const char *name, NoiseSuppressor::Level &target)
{
    if (!parser.isSet(QLatin1String(name)))
        return;
    const QStringList names{"low", "moderate", "high", "very-high"};
    const qsizetype at = names.indexOf(parser.value(QLatin1String(name)));
    if (at < 0)
        fail(QStringLiteral("--%1 is one of %2").arg(QLatin1String(name), names.join(", ")));
    target = NoiseSuppressor::Level(at);
}

void setSwitches(const QCommandLineParser &parser, BenchArguments &a)
{
    const auto on = [&parser](const char *name) { return parser.isSet(QLatin1String(name)); };
    a.development = on("dev");
    a.sweep = on("sweep");
    a.everyMiss = on("misses");
    a.runPeer = !on("no-peer");
    a.setVoiceLevel = !on("no-voice-level");
    a.frontFilter = on("front-filter");
    SphinxEngine::Options &o = a.options;
    o.suppressNoise = !on("no-noise-suppression");
    o.handleDigitalSilence = !on("no-digital-silence");
    o.addNoiseFloor = !on("no-noise-floor");
    o.resetCepstralMean = on("cmn-reset");
    o.learnColourFromSpeech = on("cmn-speech-colour");
    o.findInsideSpeech = !on("no-find-inside-speech");
    o.tailAfterTalk = !on("no-tail-after-talk");
    o.refuseAfterCut = !on("no-refuse-after-cut");
    o.coverQuietSpeech = on("cover-quiet-speech");
    if (a.sweep) { // every result is kept, so the tables can show any threshold
        o.minCoverage = 0;
        o.voiceMarginDb = 1000;
        o.maxFramesPerPhone = 0;
        o.wordMarginDb = 1000;
        o.asideMarginDb = -1000;
    }
}

// Each option given overrides the engine's default (and, for thresholds, the sweep's).
void setValues(const QCommandLineParser &parser, BenchArguments &a)
{
    SphinxEngine::Options &o = a.options;
    take(parser, "sensitivity", o.sensitivity);
    take(parser, "voices", a.voiceCount);
    take(parser, "talk-minutes", a.talkMinutes);
    a.conditionNames = parser.value(QStringLiteral("conditions"));
    take(parser, "front-groups", a.frontGroups);
    for (const QString &argument : parser.values(QStringLiteral("decoder"))) {
        // Split at the first "=" only; without one the argument would be dropped unseen.
        const qsizetype at = argument.indexOf(QLatin1Char('='));
        if (!argument.startsWith(QLatin1Char('-')) || at < 2)
            fail(QStringLiteral("--decoder wants -NAME=VALUE, not \"%1\"").arg(argument));
        o.decoderArguments += {argument.left(at), argument.mid(at + 1)};
    }
    take(parser, "garbage-log10", o.garbagePhoneLog10);
    take(parser, "long-garbage-log10", o.longSpeechGarbagePhoneLog10);
    take(parser, "long-speech-ms", o.longSpeechMs);
    take(parser, "quiet-garbage-log10", o.quietGarbagePhoneLog10);
    take(parser, "quiet-after-talk-ms", o.quietAfterTalkMs);
    take(parser, "stretch-tail-ms", o.stretchTailMs);
    take(parser, "suppression", o.suppressionLevel);
    take(parser, "quiet-suppression", o.quietRoomSuppressionLevel);
    take(parser, "noisy-room-db", o.noisyRoomDb);
    take(parser, "aside-margin-db", o.asideMarginDb);
    take(parser, "word-margin-db", o.wordMarginDb);
    take(parser, "max-frames-per-phone", o.maxFramesPerPhone);
    take(parser, "loud-apart-db", o.loudPartApartDb);
    take(parser, "loud-end-ms", o.loudPartEndMs);
    take(parser, "start-when-loud-ms", o.startWhenLoudMs);
    take(parser, "quiet-speech-end-ms", o.quietSpeechEndMs);
}

} // namespace

BenchArguments BenchArguments::parse(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the recognizer on synthesized speech: commands clean, in noise and over "
        "talk, sentences refused, false commands in talk alone, delay, speed and memory."));
    parser.addHelpOption();
    for (const auto &[name, help] : kSwitches)
        parser.addOption({QLatin1String(name), QLatin1String(help)});
    for (const ValueOption &option : kValueOptions)
        parser.addOption({QLatin1String(option.name), QLatin1String(option.help),
                          QLatin1String(option.valueName)});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments()[0]));
    BenchArguments arguments;
    setSwitches(parser, arguments);
    setValues(parser, arguments);
    return arguments;
}
