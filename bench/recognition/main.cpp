// Measures the recognizer on speech synthesized on the spot: command accuracy, refusal of speech
// that is not a command, delay from the end of speech to the event, speed, memory and grammar
// load time. Run by hand: build/bench/recognition [--sensitivity N] [--voices N] [--sweep]
#include "Corpus.h"

#include "recognizer/GrammarFile.h"
#include "recognizer/SphinxEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <random>

namespace {

constexpr int kLeadMs = 600;
constexpr int kTrailMs = 1500;

struct Condition
{
    QString name;
    double snrDb; // 0: clean
};

// One decision of the engine: for a command, whether the phrase was right.
struct Decision
{
    bool isCommand;
    bool right;
    double coverage;
};

struct Tally
{
    int commands = 0;
    int correct = 0;
    int wrong = 0;
    int oog = 0;
    int oogAccepted = 0;
    QList<double> delays;
    QList<Decision> decisions;
};

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

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const qsizetype i = qMin(values.size() - 1, qsizetype(p * (values.size() - 1) + 0.5));
    return values[i];
}

QList<qint16> padded(const QList<qint16> &speech)
{
    QList<qint16> samples(kLeadMs * 16, 0);
    samples += speech;
    samples += QList<qint16>(kTrailMs * 16, 0);
    return samples;
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    SphinxEngine::Options options;
    int voiceCount = int(Corpus::voices().size());
    bool sweep = false;
    if (args.contains(QLatin1String("--sweep"))) {
        // Every result is kept, so the table below can show any coverage threshold.
        sweep = true;
        options.minCoverage = 0;
    }
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--sensitivity"))
            options.sensitivity = args[++i].toInt();
        else if (args[i] == QLatin1String("--voices"))
            voiceCount = args[++i].toInt();
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
    const QStringList commands = Corpus::commands();
    if (!engine.setGrammar(SpeechGrammar(commands), &error)) {
        out << error << Qt::endl;
        return 1;
    }

    const QList<Condition> conditions = {{"clean", 0}, {"pink 15 dB", 15}, {"pink 5 dB", 5}};
    QList<Tally> tallies(conditions.size());
    double decodeSeconds = 0;
    double audioSeconds = 0;
    QStringList misses;
    quint32 seed = 1;

    auto decode = [&](const QList<qint16> &samples) {
        QList<SphinxEngine::Detection> detections;
        engine.restart();
        QElapsedTimer t;
        t.start();
        engine.process(samples.constData(), samples.size(), &detections);
        engine.finish(&detections);
        decodeSeconds += t.nsecsElapsed() / 1e9;
        audioSeconds += double(samples.size()) / SphinxEngine::SampleRate;
        return detections;
    };

    const QList<Corpus::Voice> voices = Corpus::voices().mid(0, voiceCount);
    for (const Corpus::Voice &voice : voices) {
        for (const bool isCommand : {true, false}) {
            for (const QString &text : isCommand ? commands : Corpus::outOfGrammar()) {
                const QList<qint16> speech = Corpus::synthesize(voice, text, work.path(), &error);
                if (speech.isEmpty()) {
                    out << error << Qt::endl;
                    return 1;
                }
                const qint64 trueEnd = kLeadMs * 16 + Corpus::endOfSpeech(speech);
                const QList<qint16> clean = padded(speech);
                for (qsizetype c = 0; c < conditions.size(); ++c) {
                    const QList<qint16> samples =
                        conditions[c].snrDb > 0
                            ? Corpus::withPinkNoise(clean, conditions[c].snrDb, seed++)
                            : clean;
                    const QList<SphinxEngine::Detection> detections = decode(samples);
                    Tally &tally = tallies[c];
                    for (const auto &d : detections)
                        tally.decisions.append({isCommand, d.phrase == text, d.coverage});
                    if (!isCommand) {
                        ++tally.oog;
                        if (!detections.isEmpty()) {
                            ++tally.oogAccepted;
                            if (c == 0)
                                misses.append(QStringLiteral("accepted  %1: \"%2\" as \"%3\"")
                                                  .arg(voice.name, text, detections[0].phrase));
                        }
                        continue;
                    }
                    ++tally.commands;
                    if (detections.size() == 1 && detections[0].phrase == text) {
                        ++tally.correct;
                        const auto &d = detections[0];
                        tally.delays.append((d.eventSample - trueEnd) * 1000.0 /
                                                SphinxEngine::SampleRate +
                                            d.searchMs);
                    } else {
                        if (!detections.isEmpty())
                            ++tally.wrong;
                        if (c == 0) {
                            QStringList heard;
                            for (const auto &d : detections)
                                heard.append(d.phrase);
                            misses.append(QStringLiteral("missed    %1: \"%2\" heard [%3]")
                                              .arg(voice.name, text, heard.join(", ")));
                        }
                    }
                }
            }
        }
        out << "  done: " << voice.name << Qt::endl;
    }

    // Grammar loading as LoadGrammarFile does it: read, key, compile.
    const QStringList dictionary = dictionaryWords(SphinxEngine::defaultModelDir());
    QList<QPair<int, double>> loads;
    for (const int count : {45, 300, 3000}) {
        const QString path = writeGrammar(work.path(), count, dictionary);
        timer.restart();
        GrammarFile file;
        const bool ok = GrammarFile::read(path, &file, &error) &&
                        engine.setGrammar(SpeechGrammar(file.phrases), &error);
        loads.append({count, ok ? timer.nsecsElapsed() / 1e6 : -1});
    }

    out << "\nRecognition benchmark: " << commands.size() << " commands, "
        << Corpus::outOfGrammar().size() << " out-of-grammar sentences, " << voices.size()
        << " voices, sensitivity " << options.sensitivity << "\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg("condition", -12)
               .arg("command accuracy", 18)
               .arg("wrong phrase", 13)
               .arg("OOG accepted", 13)
               .arg("median ms", 10)
               .arg("p90 ms", 8);
    for (qsizetype c = 0; c < conditions.size(); ++c) {
        const Tally &t = tallies[c];
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(conditions[c].name, -12)
                   .arg(QStringLiteral("%1% (%2/%3)")
                            .arg(100.0 * t.correct / qMax(1, t.commands), 0, 'f', 1)
                            .arg(t.correct)
                            .arg(t.commands),
                        18)
                   .arg(t.wrong, 13)
                   .arg(QStringLiteral("%1% (%2/%3)")
                            .arg(100.0 * t.oogAccepted / qMax(1, t.oog), 0, 'f', 1)
                            .arg(t.oogAccepted)
                            .arg(t.oog),
                        13)
                   .arg(percentile(t.delays, 0.5), 10, 'f', 0)
                   .arg(percentile(t.delays, 0.9), 8, 'f', 0);
    }
    out << "\nreal-time factor      " << QString::number(decodeSeconds / audioSeconds, 'f', 4)
        << " (" << QString::number(audioSeconds, 'f', 0) << " s of audio)\n";
    out << "peak memory           " << statusKb("VmHWM:") / 1024 << " MB (engine resident "
        << (statusKb("VmRSS:") - rssBefore) / 1024 << " MB)\n";
    out << "decoder start         " << QString::number(openMs, 'f', 0) << " ms\n";
    for (const auto &[count, ms] : loads)
        out << "grammar load " << QString::number(count).rightJustified(4) << "     "
            << QString::number(ms, 'f', 0) << " ms\n";
    if (sweep) {
        out << "\ncoverage threshold: command accuracy / OOG accepted\n";
        for (int percent = 40; percent <= 90; percent += 5) {
            out << QString::number(percent).rightJustified(5) << "%";
            for (qsizetype c = 0; c < conditions.size(); ++c) {
                int right = 0;
                int accepted = 0;
                for (const Decision &d : tallies[c].decisions) {
                    if (d.coverage * 100 < percent)
                        continue;
                    if (d.isCommand)
                        right += d.right ? 1 : 0;
                    else
                        ++accepted;
                }
                out << QStringLiteral("   %1: %2% / %3%")
                           .arg(conditions[c].name)
                           .arg(100.0 * right / qMax(1, tallies[c].commands), 0, 'f', 1)
                           .arg(100.0 * accepted / qMax(1, tallies[c].oog), 0, 'f', 1);
            }
            out << "\n";
        }
    }
    out << "\nClean-speech misses:\n";
    for (const QString &miss : std::as_const(misses))
        out << "  " << miss << "\n";
    return 0;
}
