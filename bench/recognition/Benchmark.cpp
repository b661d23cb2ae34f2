#include "Benchmark.h"

#include "BackgroundTalk.h"
#include "Noise.h"
#include "TalkStream.h"

#include "recognizer/PhraseKey.h"
#include "recognizer/RecognizerSettings.h"
#include "recognizer/SpeechGrammar.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <cmath>
#include <optional>

// Which file the engine hears, so that its own log of every decision ("jev.speech") can be read
// file by file.
Q_LOGGING_CATEGORY(lcBench, "jev.bench", QtWarningMsg)

namespace {

constexpr qsizetype kSamplesPerMs = SphinxEngine::SampleRate / 1000;
// Talk alone is played this far below the commands' speech level, as in the 10 dB condition,
// and as loud as the commands.
constexpr double kTalkAloneBelowDb[] = {10, 0};

QStringList phrasesOf(const QList<SphinxEngine::Detection> &detections)
{
    QStringList phrases;
    for (const SphinxEngine::Detection &d : detections)
        phrases.append(d.phrase);
    return phrases;
}

} // namespace

Benchmark::Benchmark(const Corpus::Set &set, SphinxEngine &engine, const PeerDecoder *peer,
                     bool voiceLevels, const QString &workDir, QTextStream &out)
    : m_set(set), m_engine(engine), m_peer(peer), m_voiceLevels(voiceLevels), m_workDir(workDir),
      m_out(out), m_talk(set, workDir), m_seed(set.firstSeed)
{}

QList<SphinxEngine::Detection> Benchmark::decode(const QList<qint16> &samples,
                                                 const CepstralMean::Snapshot *carried)
{
    QList<SphinxEngine::Detection> detections;
    if (carried)
        m_engine.restart(*carried);
    else
        m_engine.restart();
    QElapsedTimer timer;
    timer.start();
    m_engine.process(samples.constData(), samples.size(), &detections);
    m_engine.finish(&detections);
    m_decodeSeconds += timer.nsecsElapsed() / 1e9;
    m_audioSeconds += double(samples.size()) / SphinxEngine::SampleRate;
    keepActive(&detections);
    return detections;
}

// Both sets list their twelve application names first.
constexpr int kApplicationNames = 12;

void Benchmark::listenForGroup(int group)
{
    if (m_frontGroups <= 1)
        return;
    QStringList phrases = m_set.commands.mid(0, kApplicationNames);
    for (qsizetype i = kApplicationNames; i < m_set.commands.size(); ++i) {
        if ((i - kApplicationNames) % m_frontGroups == group % m_frontGroups)
            phrases.append(m_set.commands[i]);
    }
    m_active = phrases;
    QString error;
    if (!m_frontFilter && !m_engine.setGrammar(SpeechGrammar(phrases), &error))
        qWarning() << error;
}

void Benchmark::keepActive(QList<SphinxEngine::Detection> *detections) const
{
    if (m_frontGroups > 1)
        detections->removeIf(
            [this](const SphinxEngine::Detection &d) { return !m_active.contains(d.phrase); });
}

QList<SphinxEngine::Detection> Benchmark::hearInCondition(const Condition &condition,
                                                          const QList<qint16> &speech,
                                                          RoomFiles *room, QList<qint16> *samples,
                                                          qsizetype *start)
{
    const Condition::Kind kind = condition.kind;
    // The files after zeros and said twice are the room's very sound, heard from the mean
    // the room's file was heard from (the cepstral mean goes on from file to file): any
    // difference is the zeros' or the repeat's. They leave the mean where the room's file
    // left it, and the zeros still take a seed, as they did before the repeat was measured,
    // so that the others hear nearly what they heard without them (the decoder's own noise
    // removal goes on from the last file all the same).
    const bool ofRoom = (kind == Condition::AfterZeros || kind == Condition::Twice) && room->seed;
    const quint32 seed = ofRoom ? *room->seed : m_seed++;
    if (ofRoom && kind == Condition::AfterZeros)
        ++m_seed;
    if (kind == Condition::Room) {
        room->seed = seed;
        room->before = m_engine.carried();
    }
    *samples = condition.clip(speech, seed, m_talkUnderCommands, start);
    const QList<SphinxEngine::Detection> detections =
        decode(*samples, ofRoom ? &room->before : nullptr);
    if (kind == Condition::Room)
        room->left = m_engine.carried();
    else if (ofRoom)
        m_engine.restart(room->left);
    return detections;
}

bool Benchmark::runText(const Corpus::Voice &voice, const QString &text, bool isCommand,
                        QString *error)
{
    const qsizetype at = m_set.commands.indexOf(text);
    listenForGroup(!isCommand               ? m_sentencesHeard++
                   : at < kApplicationNames ? int(at)
                                            : int(at - kApplicationNames));
    const QList<qint16> speech = Corpus::synthesize(voice, text, m_workDir, error);
    if (speech.isEmpty())
        return false;
    if (isCommand) {
        m_commandRmsSum += Corpus::speechRms(speech);
        ++m_commandCount;
    }
    RoomFiles room;
    for (qsizetype c = 0; c < m_conditions.size(); ++c) {
        if (m_conditions[c].kind == Condition::TalkGoingOn)
            continue;
        QList<qint16> samples;
        qsizetype start = 0;
        qCDebug(lcBench).noquote() << m_conditions[c].name << voice.name << "says" << text;
        const QList<SphinxEngine::Detection> detections =
            hearInCondition(m_conditions[c], speech, &room, &samples, &start);
        record(c, voice, text, isCommand, start + Corpus::endOfSpeech(speech), detections);
        if (m_peer) {
            QStringList peerHeard;
            if (!m_peer->decode(samples, &peerHeard, error))
                return false;
            m_peers[c].add(isCommand, PhraseKey::key(text), peerHeard, m_conditions[c].sayings());
        }
    }
    if (isCommand && at >= kApplicationNames && m_frontGroups > 1)
        m_saidElsewhere.append({speech, int(at - kApplicationNames)});
    return true;
}

void Benchmark::record(qsizetype condition, const Corpus::Voice &voice, const QString &text,
                       bool isCommand, qint64 speechEnd,
                       const QList<SphinxEngine::Detection> &detections)
{
    Tally &tally = m_ours[condition];
    const QStringList heard = phrasesOf(detections);
    const int sayings = m_conditions[condition].sayings();
    tally.add(isCommand, text, heard, sayings);
    for (const SphinxEngine::Detection &d : detections)
        tally.decisions.append(
            {isCommand, d.phrase == text, d.coverage, d.belowVoiceDb, d.pace, d.aside, d.asideDb});
    // From the end of the last saying.
    if (isCommand && Tally::heardAsSaid(text, heard, sayings))
        tally.delays.append((detections.last().eventSample - speechEnd) * 1000.0 /
                                SphinxEngine::SampleRate +
                            detections.last().searchMs);
    const bool missed = isCommand ? !Tally::heardAsSaid(text, heard, sayings) : !heard.isEmpty();
    if ((condition == 0 || m_everyMiss) && missed)
        m_misses.append(QStringLiteral("%1%2 %3: \"%4\" heard [%5]")
                            .arg(m_everyMiss ? m_conditions[condition].name + ": " : QString(),
                                 isCommand ? "missed  " : "accepted", voice.name, text,
                                 heard.join(QStringLiteral(", "))));
}

// The voice's commands said, clean, while another application is in front: anything heard is
// a false command. After all of the voice's files, which they would otherwise change through
// the cepstral mean that goes on from one utterance to the next.
void Benchmark::hearInFrontOfOthers(const Corpus::Voice &voice)
{
    for (const auto &[speech, group] : std::as_const(m_saidElsewhere)) {
        listenForGroup(group + 1);
        qsizetype start = 0;
        const QStringList heard = phrasesOf(
            decode(Condition{QString(), Condition::Clean, 0}.clip(speech, 0, {}, &start)));
        ++m_otherSaid;
        if (!heard.isEmpty())
            m_otherTaken.append(QStringLiteral("%1: \"%2\" heard [%3]")
                                    .arg(voice.name, m_set.commands[kApplicationNames + group],
                                         heard.join(QStringLiteral(", "))));
    }
    m_saidElsewhere.clear();
}

bool Benchmark::runTalkAlone(double minutes, double belowDb, QString *error)
{
    // Scaled as the talk of the 10 dB condition: that far below the commands' speech.
    const double commandRms = averageCommandRms();
    TalkTally tally;
    tally.name = QStringLiteral("talk alone, %1 dB below the commands").arg(belowDb, 2);
    tally.peerAccepted = m_peer ? 0 : -1;
    m_engine.restart();
    qCDebug(lcBench).noquote() << tally.name;
    QList<SphinxEngine::Detection> detections;
    // A minute at a time, as one stream for the engine and one file a minute for the peer. The
    // talk goes on from one minute to the next, as a television's does: a sentence cut at a
    // minute's end and followed by the next minute's pause would be talk no television makes.
    Conversation talk = m_talk.conversation(1);
    double gain = 0;
    for (int minute = 0; minute < int(std::ceil(minutes)); ++minute) {
        const double seconds = qMin(60.0, (minutes - minute) * 60);
        if (m_frontGroups > 1) {
            // Another application is in front each minute, its grammar set between two streams.
            listenForGroup(minute);
            m_engine.restart();
        }
        const QList<qint16> samples = talk.next(qsizetype(seconds * SphinxEngine::SampleRate));
        gain = commandRms / std::pow(10.0, belowDb / 20) / qMax(1.0, Corpus::speechRms(samples));
        if (!hearTalk(samples, gain, &tally, &detections, error))
            return false;
    }
    // The talk ends with its last sentence said: a stream cut mid-word would have the engine
    // decide on half a word, which no television's talk makes it do. Each minute ends with its
    // own stream when another application is in front each minute.
    if (m_frontGroups <= 1 && !hearTalk(talk.rest(), gain, &tally, &detections, error))
        return false;
    m_engine.finish(&detections);
    tally.heard = phrasesOf(detections);
    for (const SphinxEngine::Detection &d : std::as_const(detections))
        tally.decisions.append(
            {false, false, d.coverage, d.belowVoiceDb, d.pace, d.aside, d.asideDb});
    tally.accepted = int(tally.heard.size());
    m_talks.append(tally);
    return true;
}

// A piece of the talk alone, at gain, in a quiet room, through the engine and the peer.
bool Benchmark::hearTalk(QList<qint16> samples, double gain, TalkTally *tally,
                         QList<SphinxEngine::Detection> *detections, QString *error)
{
    if (samples.isEmpty())
        return true;
    const double commandRms = averageCommandRms();
    const QList<double> room = Noise::pink(samples.size(), m_seed++);
    const double roomGain =
        commandRms / std::pow(10.0, Condition::RoomSnrDb / 20) / Noise::rms(room);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] =
            qint16(qBound(-32768.0, std::round(samples[i] * gain + room[i] * roomGain), 32767.0));
    const double seconds = double(samples.size()) / SphinxEngine::SampleRate;
    QList<SphinxEngine::Detection> pieceDetections;
    QElapsedTimer timer;
    timer.start();
    m_engine.process(samples.constData(), samples.size(), &pieceDetections);
    if (m_frontGroups > 1)
        m_engine.finish(&pieceDetections);
    keepActive(&pieceDetections);
    *detections += pieceDetections;
    m_decodeSeconds += timer.nsecsElapsed() / 1e9;
    m_audioSeconds += seconds;
    tally->minutes += seconds / 60;
    if (!m_peer)
        return true;
    QStringList peerHeard;
    if (!m_peer->decode(samples, &peerHeard, error))
        return false;
    tally->peerAccepted += int(peerHeard.size());
    return true;
}

// The voice's texts in slots of a stream over talk that goes on. What the engine decides from
// the start of a text's speech to the start of the next text's is that text's.
bool Benchmark::runTalkGoingOn(const Condition &condition, Tally *tally, const Corpus::Voice &voice,
                               QString *error)
{
    struct Said
    {
        QString text;
        bool isCommand;
        QList<qint16> speech;
    };
    QList<Said> texts;
    double rmsSum = 0;
    for (const bool isCommand : {true, false}) {
        for (const QString &text : isCommand ? m_set.commands : m_set.outOfGrammar) {
            const QList<qint16> speech = Corpus::synthesize(voice, text, m_workDir, error);
            if (speech.isEmpty())
                return false;
            rmsSum += isCommand ? Corpus::speechRms(speech) : 0;
            texts.append({text, isCommand, speech});
        }
    }
    TalkStream stream(m_talkUnderCommands, rmsSum / qMax(1, int(m_set.commands.size())),
                      condition.snrDb, m_seed++);
    QList<QList<SphinxEngine::Detection>> decided(texts.size());
    QList<qint64> speechEnds;
    QList<SphinxEngine::Detection> beforeAnyText; // the talk's alone, counted elsewhere
    const qsizetype lead = TalkStream::SpeechAtMs * kSamplesPerMs;
    qint64 position = 0;
    m_engine.restart();
    QElapsedTimer timer;
    timer.start();
    for (qsizetype t = 0; t < texts.size(); ++t) {
        const QList<qint16> samples = stream.slot(texts[t].speech);
        m_engine.process(samples.constData(), lead, t > 0 ? &decided[t - 1] : &beforeAnyText);
        qCDebug(lcBench).noquote() << condition.name << voice.name << "says" << texts[t].text;
        m_engine.process(samples.constData() + lead, samples.size() - lead, &decided[t]);
        speechEnds.append(position + lead + Corpus::endOfSpeech(texts[t].speech));
        position += samples.size();
    }
    m_engine.finish(&decided.last());
    m_streamDecodeSeconds += timer.nsecsElapsed() / 1e9;
    m_streamAudioSeconds += double(position) / SphinxEngine::SampleRate;
    for (qsizetype t = 0; t < texts.size(); ++t) {
        const QStringList heard = phrasesOf(decided[t]);
        tally->add(texts[t].isCommand, texts[t].text, heard);
        if (texts[t].isCommand && heard == QStringList{texts[t].text})
            tally->delays.append((decided[t][0].eventSample - speechEnds[t]) * 1000.0 /
                                     SphinxEngine::SampleRate +
                                 decided[t][0].searchMs);
    }
    return true;
}

bool Benchmark::run(const QList<Condition> &conditions, int voiceCount, double talkMinutes,
                    QString *error)
{
    m_conditions = conditions;
    m_ours = QList<Tally>(conditions.size());
    m_peers = QList<Tally>(m_peer ? conditions.size() : 0);
    if (!m_talk.prepare(error))
        return false;
    // Two minutes of talk, a stretch of which is under every file.
    m_talkUnderCommands = m_talk.stretch(120, 0);
    double levelDbSum = 0;
    int levels = 0;
    for (const Corpus::Voice &voice : m_set.voices.mid(0, voiceCount)) {
        // The user sets the level meter's full scale first, as the help says: so that their
        // normal speech fills about half of the bar.
        const QList<qint16> check = Corpus::synthesize(voice, m_set.levelCheck, m_workDir, error);
        if (check.isEmpty())
            return false;
        const int fullScale = qRound(2 * Corpus::loudestLevel(check));
        const double level = RecognizerSettings::voiceLevelForFullScale(fullScale);
        if (m_voiceLevels)
            m_engine.setVoiceLevel(qRound(level));
        levelDbSum += std::log10(level);
        ++levels;
        for (const bool isCommand : {true, false}) {
            for (const QString &text : isCommand ? m_set.commands : m_set.outOfGrammar) {
                if (!runText(voice, text, isCommand, error))
                    return false;
            }
        }
        hearInFrontOfOthers(voice);
        m_voicesHeard.append({voice, qRound(level)});
        m_out << "  done: " << voice.name << Qt::endl;
    }
    // Talk alone is heard by a user of a typical level.
    if (m_voiceLevels)
        m_engine.setVoiceLevel(qRound(std::pow(10.0, levelDbSum / qMax(1, levels))));
    for (const double belowDb : kTalkAloneBelowDb) {
        if (talkMinutes > 0 && !runTalkAlone(talkMinutes, belowDb, error))
            return false;
    }
    // Last, so that the other figures stay as they were without it: the cepstral mean goes on
    // from one stream to the next.
    for (qsizetype c = 0; c < m_conditions.size(); ++c) {
        for (const auto &[voice, level] : std::as_const(m_voicesHeard)) {
            if (m_conditions[c].kind != Condition::TalkGoingOn)
                break;
            if (m_voiceLevels)
                m_engine.setVoiceLevel(level);
            if (!runTalkGoingOn(m_conditions[c], &m_ours[c], voice, error))
                return false;
        }
    }
    return true;
}

void Benchmark::print(bool sweep, double minCoverage, double marginDb) const
{
    QStringList names;
    for (const Condition &c : m_conditions)
        names.append(c.name);
    Report::conditions(m_out, names, m_ours, m_peers);
    m_out << "\n";
    Report::talk(m_out, m_talks);
    m_out << "\nreal-time factor      "
          << QString::number(m_decodeSeconds / qMax(1e-9, m_audioSeconds), 'f', 4) << " ("
          << QString::number(m_audioSeconds, 'f', 0) << " s of audio)\n";
    // Apart, so that the figure above stays one of the same mix of sound as before.
    if (m_streamAudioSeconds > 0)
        m_out << "real-time factor over talk that goes on "
              << QString::number(m_streamDecodeSeconds / m_streamAudioSeconds, 'f', 4) << " ("
              << QString::number(m_streamAudioSeconds, 'f', 0) << " s of audio)\n";
    if (sweep) {
        Report::sweep(m_out, names, m_ours);
        Report::gateSweep(m_out, names, m_ours, m_talks, minCoverage);
        Report::paceSweep(m_out, names, m_ours, m_talks, minCoverage,
                          m_voiceLevels ? marginDb : 1000);
        Report::asideSweep(m_out, names, m_ours, m_talks, m_voiceLevels ? marginDb : 1000);
    }
    if (m_frontGroups > 1) {
        m_out << "\ncommands of another application, said clean: " << m_otherTaken.size() << " of "
              << m_otherSaid << " taken for a command\n";
        for (const QString &taken : m_otherTaken)
            m_out << "  " << taken << "\n";
    }
    m_out << (m_everyMiss ? "\nMisses:\n" : "\nClean-speech misses:\n");
    for (const QString &miss : std::as_const(m_misses))
        m_out << "  " << miss << "\n";
}
