// Measures the recognizer on speech synthesized on the spot: command accuracy and refusal of
// speech that is not a command, clean, after digital silence, in noise and over background
// talk; false commands in minutes of talk alone; delay from the end of speech to the event,
// speed, memory and grammar load time. When pocketsphinx_continuous is installed, the plain
// grammar decoder of PocketSphinx runs on the same files and its figures are printed beside.
//
// Run by hand: build/bench/recognition [--dev] [--no-peer] ...; --help lists every option.
// --dev runs the development set, on which thresholds are chosen; without it the evaluation set.
// Each voice is a user who set the level meter's full scale to their voice (the loudest moment of
// a sentence that is none of the commands); --no-voice-level leaves the engine without it.
#include "BenchArguments.h"
#include "Benchmark.h"
#include "Corpus.h"

#include "recognizer/GrammarFile.h"
#include "recognizer/PhraseKey.h"
#include "recognizer/Sensitivity.h"
#include "recognizer/SphinxEngine.h"

#include <QCoreApplication>
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
    const BenchArguments arguments = BenchArguments::parse(app);
    const SphinxEngine::Options &options = arguments.options;
    const Corpus::Set set = arguments.development ? Corpus::development() : Corpus::evaluation();
    const int voiceCount = arguments.voiceCount < 0 ? int(set.voices.size()) : arguments.voiceCount;
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
    if (arguments.runPeer && PeerDecoder::available()) {
        QStringList keys;
        for (const QString &command : set.commands)
            keys.append(PhraseKey::key(command));
        peer = std::make_unique<PeerDecoder>(work.path(), SphinxEngine::defaultModelDir(), keys,
                                             engine.pronunciationLines());
    }
    const QList<Condition> conditions = chosenConditions(arguments.conditionNames);
    Benchmark benchmark(set, engine, peer.get(), arguments.setVoiceLevel, work.path(), out);
    if (arguments.everyMiss)
        benchmark.listEveryMiss();
    if (arguments.frontGroups > 0)
        benchmark.setFrontGroups(arguments.frontGroups, arguments.frontFilter);
    if (!benchmark.run(conditions, voiceCount, arguments.talkMinutes, &error)) {
        out << error << Qt::endl;
        return 1;
    }
    out << "\nRecognition benchmark, " << set.name << " set: " << set.commands.size()
        << " commands, " << set.outOfGrammar.size() << " out-of-grammar sentences, "
        << qMin(voiceCount, int(set.voices.size())) << " voices, sensitivity "
        << options.sensitivity << (peer ? ", peer: pocketsphinx_continuous" : ", peer: not run")
        << "\n\n";
    benchmark.print(arguments.sweep, Sensitivity::coverageThreshold(options.sensitivity),
                    Sensitivity::voiceMarginDb(options.sensitivity));
    out << "\npeak memory           " << statusKb("VmHWM:") / 1024 << " MB (engine resident "
        << (statusKb("VmRSS:") - rssBefore) / 1024 << " MB)\n";
    out << "decoder start         " << QString::number(openMs, 'f', 0) << " ms\n";
    measureGrammarLoads(engine, work.path(), benchmark.talkStretch(30), out);
    return 0;
}
