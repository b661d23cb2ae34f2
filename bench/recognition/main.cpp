// Measures the recognizer on speech synthesized on the spot: command accuracy and refusal of
// speech that is not a command, clean, after digital silence, in noise and over background
// talk; false commands in minutes of talk alone; delay from the end of speech to the event,
// speed, memory and grammar load time. When pocketsphinx_continuous is installed, the plain
// grammar decoder of PocketSphinx runs on the same files and its figures are printed beside.
//
// Run by hand: build/bench/recognition [--dev] [--sensitivity N] [--voices N] [--sweep]
//     [--no-peer] [--talk-minutes M] [--conditions NAME,NAME...] [--no-noise-suppression]
//     [--no-voice-level] [--no-digital-silence] [--no-noise-floor] [--cmn-reset]
//     [--cmn-speech-colour]
//     [--no-find-inside-speech] [--no-tail-after-talk] [--aside-margin-db DB] [--garbage-log10 X]
//     [--decoder -NAME=VALUE]... [--suppression LEVEL] [--quiet-suppression LEVEL]
//     [--noisy-room-db DB] [--long-garbage-log10 X|none] [--long-speech-ms MS]
//     [--quiet-garbage-log10 X|none] [--quiet-after-talk-ms MS] [--loud-apart-db DB]
//     [--loud-end-ms MS] [--start-when-loud-ms MS] [--quiet-speech-end-ms MS]
//     [--max-frames-per-phone N] [--word-margin-db DB]
// LEVEL is low, moderate, high or very-high: WebRTC's setting in a noisy room, and in a quiet
// one; --noisy-room-db 0 makes every room noisy. --garbage-log10 is the phone loop's price for
// speech said on its own, --long-garbage-log10 in long stretches of speech (none: the same
// price), --long-speech-ms how long a stretch is long, --quiet-garbage-log10 where no such
// stretch was heard for --quiet-after-talk-ms (none: the price for speech on its own).
// --loud-apart-db DB hears the loud part of an utterance on its own (off unless given),
// --loud-end-ms 0 ends no utterance after it. --start-when-loud-ms 0 starts an utterance where
// speech starts, not where it comes near the voice; --quiet-speech-end-ms 0 ends none while
// quieter speech goes on; --max-frames-per-phone 0 refuses no phrase for its pace;
// --word-margin-db 1000 none for a quiet word.
// --dev runs the development set, on which thresholds are chosen; without it the evaluation set.
// Each voice is a user who set the level meter's full scale to their voice (the loudest moment of
// a sentence that is none of the commands); --no-voice-level leaves the engine without it.
#include "Benchmark.h"
#include "Corpus.h"

#include "recognizer/GrammarFile.h"
#include "recognizer/PhraseKey.h"
#include "recognizer/Sensitivity.h"
#include "recognizer/SphinxEngine.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <random>

namespace {

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// A grammar file of count phrases of one to three dictionary words, one in ten of them with an
// invented word that needs letter-to-sound rules.
QString writeGrammar(const QString &dir, int count, const QStringList &dictionary)
{
    std::mt19937 random(count);
    QByteArray text = "[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n";
    for (int i = 0; i < count; ++i) {
        QStringList words;
        const int n = 1 + int(random() % 3);
        for (int w = 0; w < n; ++w)
            words.append(dictionary[random() % dictionary.size()]);
        if (i % 10 == 0) {
            QString invented;
            for (int c = 0; c < 7; ++c)
                invented.append(QChar(u"bdfklmnprstaeiou"[random() % 16]));
            words.append(invented);
        }
        text += "<start>=" + words.join(' ').toLatin1() + "\r\n";
    }
    const QString path = dir + QStringLiteral("/grammar%1.txt").arg(count);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

QStringList dictionaryWords(const QString &modelDir)
{
    QFile file(modelDir + QStringLiteral("/cmudict-en-us.dict"));
    QStringList words;
    if (!file.open(QIODevice::ReadOnly))
        return words;
    int line = 0;
    while (!file.atEnd()) {
        const QByteArray word = file.readLine().split(' ').value(0);
        if (++line % 7 == 0 && !word.contains('(') && !word.contains('\''))
            words.append(QString::fromLatin1(word));
    }
    return words;
}

// Decoding time over audio time, for the grammar the engine has.
double realTimeFactor(SphinxEngine &engine, const QList<qint16> &samples)
{
    QElapsedTimer timer;
    timer.start();
    engine.restart();
    engine.process(samples.constData(), samples.size(), nullptr);
    engine.finish(nullptr);
    return timer.nsecsElapsed() / 1e9 / (double(samples.size()) / SphinxEngine::SampleRate);
}

// Grammar loading as LoadGrammarFile does it: read, key, compile; then the decoding speed with
// that grammar over talk, which keeps the decoder busy all the time.
void measureGrammarLoads(SphinxEngine &engine, const QString &dir, const QList<qint16> &talk,
                         QTextStream &out)
{
    engine.setVoiceLevel(0);
    const QStringList dictionary = dictionaryWords(SphinxEngine::defaultModelDir());
    for (const int count : {45, 300, 3000}) {
        const QString path = writeGrammar(dir, count, dictionary);
        QElapsedTimer timer;
        timer.start();
        GrammarFile file;
        QString error;
        const bool ok = GrammarFile::read(path, &file, &error) &&
                        engine.setGrammar(SpeechGrammar(file.phrases), &error);
        out << "grammar load " << QString::number(count).rightJustified(4) << "     "
            << (ok ? QString::number(timer.nsecsElapsed() / 1e6, 'f', 0) : error) << " ms";
        if (ok)
            out << ", real-time factor over talk "
                << QString::number(realTimeFactor(engine, talk), 'f', 4);
        out << "\n";
    }
}

NoiseSuppressor::Level suppressionLevel(const QString &name)
{
    const QStringList names{"low", "moderate", "high", "very-high"};
    const qsizetype at = names.indexOf(name);
    if (at < 0)
        qWarning().noquote() << "Unknown suppression level" << name << "- moderate is used.";
    return at < 0 ? NoiseSuppressor::Level::Moderate : NoiseSuppressor::Level(at);
}

// "none" for no value.
std::optional<double> optionalNumber(const QString &text)
{
    return text == QLatin1String("none") ? std::nullopt : std::optional<double>(text.toDouble());
}

QList<Condition> chosenConditions(const QString &names)
{
    QList<Condition> chosen;
    for (const Condition &c : Condition::all()) {
        if (names.isEmpty() || names.split(QLatin1Char(',')).contains(c.name))
            chosen.append(c);
    }
    return chosen;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    SphinxEngine::Options options;
    const Corpus::Set set =
        args.contains(QLatin1String("--dev")) ? Corpus::development() : Corpus::evaluation();
    int voiceCount = int(set.voices.size());
    double talkMinutes = 10;
    QString conditionNames;
    const bool sweep = args.contains(QLatin1String("--sweep"));
    // Each remedy can be switched off, to measure what it does.
    options.suppressNoise = !args.contains(QLatin1String("--no-noise-suppression"));
    options.handleDigitalSilence = !args.contains(QLatin1String("--no-digital-silence"));
    options.addNoiseFloor = !args.contains(QLatin1String("--no-noise-floor"));
    options.resetCepstralMean = args.contains(QLatin1String("--cmn-reset"));
    options.learnColourFromSpeech = args.contains(QLatin1String("--cmn-speech-colour"));
    options.findInsideSpeech = !args.contains(QLatin1String("--no-find-inside-speech"));
    options.tailAfterTalk = !args.contains(QLatin1String("--no-tail-after-talk"));
    options.coverQuietSpeech = args.contains(QLatin1String("--cover-quiet-speech"));
    if (sweep) { // every result is kept, so the tables can show any threshold
        options.minCoverage = 0;
        options.voiceMarginDb = 1000;
        options.maxFramesPerPhone = 0;
        options.wordMarginDb = 1000;
        options.asideMarginDb = -1000;
    }
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--sensitivity"))
            options.sensitivity = args[++i].toInt();
        else if (args[i] == QLatin1String("--voices"))
            voiceCount = args[++i].toInt();
        else if (args[i] == QLatin1String("--talk-minutes"))
            talkMinutes = args[++i].toDouble();
        else if (args[i] == QLatin1String("--noisy-room-db"))
            options.noisyRoomDb = args[++i].toDouble();
        else if (args[i] == QLatin1String("--word-margin-db"))
            options.wordMarginDb = args[++i].toDouble();
        else if (args[i] == QLatin1String("--max-frames-per-phone"))
            options.maxFramesPerPhone = args[++i].toDouble();
        else if (args[i] == QLatin1String("--aside-margin-db"))
            options.asideMarginDb = args[++i].toDouble();
        else if (args[i] == QLatin1String("--garbage-log10"))
            options.garbagePhoneLog10 = args[++i].toDouble();
        else if (args[i] == QLatin1String("--long-garbage-log10"))
            options.longSpeechGarbagePhoneLog10 = optionalNumber(args[++i]);
        else if (args[i] == QLatin1String("--quiet-garbage-log10"))
            options.quietGarbagePhoneLog10 = optionalNumber(args[++i]);
        else if (args[i] == QLatin1String("--quiet-after-talk-ms"))
            options.quietAfterTalkMs = args[++i].toInt();
        else if (args[i] == QLatin1String("--stretch-tail-ms"))
            options.stretchTailMs = args[++i].toInt();
        else if (args[i] == QLatin1String("--long-speech-ms"))
            options.longSpeechMs = args[++i].toInt();
        else if (args[i] == QLatin1String("--loud-apart-db"))
            options.loudPartApartDb = args[++i].toDouble();
        else if (args[i] == QLatin1String("--start-when-loud-ms"))
            options.startWhenLoudMs = args[++i].toInt();
        else if (args[i] == QLatin1String("--quiet-speech-end-ms"))
            options.quietSpeechEndMs = args[++i].toInt();
        else if (args[i] == QLatin1String("--loud-end-ms"))
            options.loudPartEndMs = args[++i].toInt();
        else if (args[i] == QLatin1String("--quiet-suppression"))
            options.quietRoomSuppressionLevel = suppressionLevel(args[++i]);
        else if (args[i] == QLatin1String("--suppression"))
            options.suppressionLevel = suppressionLevel(args[++i]);
        else if (args[i] == QLatin1String("--decoder"))
            options.decoderArguments += args[++i].split(QLatin1Char('='));
        else if (args[i] == QLatin1String("--conditions"))
            conditionNames = args[++i];
    }
    if (const QString missing = Corpus::missingTools(); !missing.isEmpty()) {
        out << "Cannot synthesize the corpus: " << missing << Qt::endl;
        return 1;
    }
    QTemporaryDir work;
    const qint64 rssBefore = statusKb("VmRSS:");
    SphinxEngine engine(options);
    QString error;
    QElapsedTimer timer;
    timer.start();
    if (!engine.open(&error)) {
        out << error << Qt::endl;
        return 1;
    }
    const double openMs = timer.nsecsElapsed() / 1e6;
    if (!engine.setGrammar(SpeechGrammar(set.commands), &error)) {
        out << error << Qt::endl;
        return 1;
    }
    std::unique_ptr<PeerDecoder> peer;
    if (!args.contains(QLatin1String("--no-peer")) && PeerDecoder::available()) {
        QStringList keys;
        for (const QString &command : set.commands)
            keys.append(PhraseKey::key(command));
        peer = std::make_unique<PeerDecoder>(work.path(), SphinxEngine::defaultModelDir(), keys,
                                             engine.pronunciationLines());
    }
    const QList<Condition> conditions = chosenConditions(conditionNames);
    Benchmark benchmark(set, engine, peer.get(), !args.contains(QLatin1String("--no-voice-level")),
                        work.path(), out);
    if (const qsizetype at = args.indexOf(QLatin1String("--front-groups")); at > 0)
        benchmark.setFrontGroups(args.value(at + 1).toInt(),
                                 args.contains(QLatin1String("--front-filter")));
    if (!benchmark.run(conditions, voiceCount, talkMinutes, &error)) {
        out << error << Qt::endl;
        return 1;
    }
    out << "\nRecognition benchmark, " << set.name << " set: " << set.commands.size()
        << " commands, " << set.outOfGrammar.size() << " out-of-grammar sentences, "
        << qMin(voiceCount, int(set.voices.size())) << " voices, sensitivity "
        << options.sensitivity << (peer ? ", peer: pocketsphinx_continuous" : ", peer: not run")
        << "\n\n";
    benchmark.print(sweep, Sensitivity::coverageThreshold(options.sensitivity),
                    Sensitivity::voiceMarginDb(options.sensitivity));
    out << "\npeak memory           " << statusKb("VmHWM:") / 1024 << " MB (engine resident "
        << (statusKb("VmRSS:") - rssBefore) / 1024 << " MB)\n";
    out << "decoder start         " << QString::number(openMs, 'f', 0) << " ms\n";
    measureGrammarLoads(engine, work.path(), benchmark.talkStretch(30), out);
    return 0;
}
