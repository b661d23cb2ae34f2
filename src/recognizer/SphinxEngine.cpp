#include "SphinxEngine.h"

#include "PhraseSearch.h"
#include "Sensitivity.h"
#include "SphinxDictionary.h"
#include "SphinxModel.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <algorithm>
#include <cmath>

#include <pocketsphinx.h>
#include <sphinxbase/fsg_model.h>

// QT_LOGGING_RULES="jev.speech.debug=true" shows every decision.
Q_LOGGING_CATEGORY(lcSpeech, "jev.speech", QtWarningMsg)

namespace {

// A very long stretch of speech is not a command; deciding it bounds the search's memory.
constexpr int kMaxUtteranceMs = 8000;
constexpr qsizetype kFrameSamples = SpeechDetector::FrameSamples;
static_assert(kFrameSamples * 100 == SphinxEngine::SampleRate, "the engine works on 10 ms frames");
static_assert(NoiseFloor::FrameSamples == kFrameSamples);
// Sound before the detector was sure of speech, decoded too (measured: see the README).
constexpr int kPrerollMs = 300;
constexpr int kMinWordMs = 100;
// Sound quieter than this below the user's voice level is someone else's (a television), not
// the start or the continuation of a command.
constexpr double kNearVoiceDb = 18;

qint64 msToSamples(int ms)
{
    return qint64(ms) * SphinxEngine::SampleRate / 1000;
}

} // namespace

QString SphinxEngine::defaultModelDir()
{
    const QString fromEnvironment = qEnvironmentVariable("JEV_SPEECH_MODEL");
    return fromEnvironment.isEmpty() ? QStringLiteral("/usr/share/pocketsphinx/model/en-us")
                                     : fromEnvironment;
}

SphinxEngine::SphinxEngine(const Options &options)
    : m_options(options), m_acceptance(options),
      m_loudPart(options.loudPartApartDb, options.loudPartEndMs),
      m_suppressor(options.quietRoomSuppressionLevel, options.suppressionLevel,
                   options.noisyRoomDb),
      m_bounds(kPrerollMs, options.startWhenLoudMs, options.quietSpeechEndMs),
      m_stretch(msToSamples(options.longTailMs), msToSamples(options.longSpeechMs))
{
    if (m_options.modelDir.isEmpty())
        m_options.modelDir = defaultModelDir();
    setVoiceLevel(options.voiceLevel);
    m_detector.setDigitalSilenceHandled(options.handleDigitalSilence);
    m_gate.setMarginDb(
        options.voiceMarginDb.value_or(Sensitivity::voiceMarginDb(options.sensitivity)));
}

SphinxEngine::~SphinxEngine()
{
    if (m_ps)
        ps_free(m_ps);
}

bool SphinxEngine::open(QString *error)
{
    if (m_ps)
        return true;
    m_ps = SphinxModel::load(m_options.modelDir, m_options.decoderArguments, error);
    if (!m_ps)
        return false;
    PhraseSearch::addPhoneWords(m_ps);
    m_cepstralMean.open(m_ps, m_options.resetCepstralMean);
    return true;
}

bool SphinxEngine::setGrammar(const SpeechGrammar &grammar, QString *error)
{
    if (!open(error))
        return false;
    if (grammar.isEmpty()) {
        if (error)
            *error = QStringLiteral("The grammar has no phrase that can be spoken.");
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    PhraseGraph graph = PhraseSearch::graph(grammar.keys());
    // Words that the dictionary lacks get pronunciations first: the search is built from it.
    SphinxDictionary(m_ps).addMissing(graph.words());
    const qint64 wordsNs = timer.nsecsElapsed();
    fsg_model_t *fsg =
        PhraseSearch::build(m_ps, graph, m_options.findInsideSpeech, m_options.garbagePhoneLog10);
    const qint64 graphNs = timer.nsecsElapsed();
    if (m_utteranceStarted) {
        ps_end_utt(m_ps);
        m_utteranceStarted = false;
    }
    // The number moves on only with the searches: select() names the searches in use.
    if (!PhraseSearch::use(m_ps, fsg, m_searchNumber + 1)) {
        if (error)
            *error = QStringLiteral("The speech engine refused the grammar.");
        return false;
    }
    ++m_searchNumber;
    qCDebug(lcSpeech) << grammar.keys().size() << "phrases:" << graph.words().size() << "words in"
                      << wordsNs / 1000000 << "ms, graph" << (graphNs - wordsNs) / 1000000
                      << "ms, search" << (timer.nsecsElapsed() - graphNs) / 1000000 << "ms";
    m_laterSearches = PhraseSearch::later(graph, m_options.findInsideSpeech,
                                          m_options.longSpeechGarbagePhoneLog10,
                                          m_options.quietGarbagePhoneLog10);
    m_grammar = grammar;
    return true;
}

void SphinxEngine::setVoiceLevel(int level)
{
    m_gate.setVoiceLevel(level);
    m_detector.setVoiceLevel(level > 0 ? 20 * std::log10(level) : 0, kNearVoiceDb);
}

QStringList SphinxEngine::pronunciationLines() const
{
    return m_ps ? SphinxDictionary(m_ps).lines(m_grammar.keys()) : QStringList();
}

void SphinxEngine::restart()
{
    if (m_utteranceStarted) {
        ps_end_utt(m_ps);
        m_utteranceStarted = false;
    }
    m_position = 0;
    m_lastVoiced = 0;
    m_stretch.reset();
    m_pending.clear();
    m_preroll.clear();
    m_bounds.reset();
    m_utterance.clear();
    m_frames.clear();
    m_detector.reset();
    m_suppressor.reset();
    m_gate.reset();
    // The same stream gives the same result.
    m_noiseFloor.reset();
    m_checkedPartial = false;
}

void SphinxEngine::process(const qint16 *samples, qsizetype count, QList<Detection> *detections)
{
    if (!m_ps || !hasGrammar()) {
        m_position += count;
        return;
    }
    m_pending.append(QList<qint16>(samples, samples + count));
    qsizetype done = 0;
    for (; done + kFrameSamples <= m_pending.size(); done += kFrameSamples)
        processFrame(m_pending.constData() + done, detections);
    m_pending.remove(0, done);
}

void SphinxEngine::processFrame(const qint16 *input, QList<Detection> *detections)
{
    m_position += kFrameSamples;
    m_gate.addFrame(input);
    // The suppressors hear zeros too: one that heard speech first, as after a noise gate opens,
    // would take it for the room's noise.
    if (m_options.suppressNoise)
        m_suppressor.process(input, m_cleanFrame, !m_utteranceStarted);
    else
        std::copy(input, input + kFrameSamples, m_cleanFrame);
    const bool digitalSilence = m_options.handleDigitalSilence &&
                                SpeechDetector::isDigitalSilence(SpeechDetector::levelDb(input));
    const qint16 *frame =
        m_options.addNoiseFloor ? m_noiseFloor.added(m_cleanFrame, digitalSilence) : m_cleanFrame;
    const bool speech = m_detector.addFrame(m_cleanFrame);
    m_frameLevelDb = SpeechDetector::levelDb(m_cleanFrame);
    if (m_utteranceStarted)
        continueUtterance(frame, speech, detections);
    else
        awaitUtterance(frame, speech);
}

void SphinxEngine::awaitUtterance(const qint16 *frame, bool speech)
{
    m_preroll.append(QList<qint16>(frame, frame + kFrameSamples));
    m_frames.add(speech, m_frameLevelDb);
    keepPreroll(m_bounds.prerollSamples());
    if (const std::optional<qint64> start =
            m_bounds.startAt(m_position, m_detector.speechStarted(), m_gate.isNearVoice())) {
        keepPreroll(m_position - *start);
        startUtterance();
    }
}

void SphinxEngine::keepPreroll(qsizetype samples)
{
    if (m_preroll.size() <= samples)
        return;
    m_preroll.remove(0, m_preroll.size() - samples);
    m_frames.keepLast(m_preroll.size() / kFrameSamples);
}

void SphinxEngine::startUtterance()
{
    const qint64 start = m_position - m_preroll.size();
    const PhraseSearch::Speech speech = speechAt(start);
    m_heardAsLong = speech == PhraseSearch::Speech::Long;
    if (!PhraseSearch::select(m_ps, m_searchNumber, speech, m_laterSearches) ||
        ps_start_utt(m_ps) != 0)
        return;
    m_cepstralMean.startUtterance();
    m_utteranceStarted = true;
    m_gate.startUtterance();
    m_utteranceStart = start;
    m_speechStart = m_position;
    m_lastVoiced = m_position;
    m_checkedPartial = false;
    m_loudPart.startUtterance(m_frames.size());
    ps_process_raw(m_ps, m_preroll.constData(), size_t(m_preroll.size()), FALSE, FALSE);
    m_utterance = m_preroll;
    m_preroll.clear();
}

PhraseSearch::Speech SphinxEngine::speechAt(qint64 start)
{
    // Speech that goes on from the last utterance, as talk does, is held to the long speech's
    // price from its start.
    const bool goesOn = m_stretch.startUtterance(start);
    m_afterTalk = m_stretch.talkHeardWithin(start, msToSamples(m_options.quietAfterTalkMs));
    if (goesOn && m_options.longSpeechGarbagePhoneLog10)
        return PhraseSearch::Speech::Long;
    if (m_options.quietGarbagePhoneLog10 && !m_afterTalk)
        return PhraseSearch::Speech::Quiet;
    return PhraseSearch::Speech::Short;
}

void SphinxEngine::continueUtterance(const qint16 *frame, bool speech, QList<Detection> *detections)
{
    ps_process_raw(m_ps, frame, kFrameSamples, FALSE, FALSE);
    m_utterance.append(QList<qint16>(frame, frame + kFrameSamples));
    m_frames.add(speech, m_frameLevelDb);
    if (m_loudPart.isOver(m_frames) || m_bounds.quietSpeechGoesOn(speech, m_gate.isNearVoice())) {
        endUtterance(detections);
        return;
    }
    if (speech) {
        m_lastVoiced = m_position;
        m_checkedPartial = false;
        if (m_position - m_speechStart > msToSamples(kMaxUtteranceMs))
            endUtterance(detections, SpeechStretch::Ending::CutOff);
        return;
    }
    if (phraseIsOver())
        endUtterance(detections);
}

bool SphinxEngine::phraseIsOver()
{
    const qint64 silence = m_position - m_lastVoiced;
    const int tailMs = m_heardAsLong || stretchIsLong() || (m_afterTalk && m_options.tailAfterTalk)
                           ? m_options.stretchTailMs
                           : m_options.shortTailMs;
    if (!m_checkedPartial && silence >= msToSamples(tailMs)) {
        m_checkedPartial = true;
        const BestPath path(m_ps);
        const QList<BestPath::Word> words = path.words();
        const QString key = PhraseSearch::withoutPhoneLoop(path.key());
        if (!words.isEmpty() && !words.last().phoneLoop && !m_grammar.phraseFor(key).isEmpty() &&
            !m_grammar.isPrefixOfLonger(key) && lastWordStartsInSpeech(words))
            return true;
    }
    return silence >= msToSamples(m_options.longTailMs);
}

void SphinxEngine::finish(QList<Detection> *detections)
{
    if (m_utteranceStarted)
        endUtterance(detections);
}

bool SphinxEngine::lastWordStartsInSpeech(const QList<BestPath::Word> &words) const
{
    // In a pause the search may already have put the rest of a phrase into the silence ("page"
    // + pause taken as "page down"); such a word begins after the speech has stopped.
    if (words.isEmpty())
        return false;
    const qint64 startSample = m_utteranceStart + qint64(words.last().start) * kFrameSamples;
    return startSample < m_lastVoiced - msToSamples(kMinWordMs);
}

void SphinxEngine::endUtterance(QList<Detection> *detections, SpeechStretch::Ending ending)
{
    QElapsedTimer timer;
    timer.start();
    m_cepstralMean.endPass();
    m_cepstralMean.endUtterance(m_utterance, m_frames.speechCount());
    m_utteranceStarted = false;
    m_stretch.endUtterance(m_lastVoiced, ending);
    m_detector.awaitNewSpeech();
    Detection detection;
    QString heard = BestPath(m_ps).key();
    const QString phrase =
        reconsidered(acceptedPhrase(BestPath(m_ps), m_frames, &detection), &detection, &heard);
    if (m_options.learnColourFromSpeech)
        m_cepstralMean.learn(m_utterance, m_frames.speechFlags());
    m_frames.clear();
    m_utterance.clear();
    detection.searchMs = timer.nsecsElapsed() / 1e6;
    qCDebug(lcSpeech) << "utterance" << m_utteranceStart / 16 << "-" << m_lastVoiced / 16
                      << "ms, decided at" << m_position / 16 << "ms:" << heard << "coverage"
                      << detection.coverage << "frames per phone" << detection.pace << "below voice"
                      << detection.belowVoiceDb << "dB, aside" << detection.asideDb << "dB, search"
                      << detection.searchMs << "ms";
    if (phrase.isEmpty() || !detections)
        return;
    detection.phrase = phrase;
    detection.eventSample = m_position;
    detection.lastVoicedSample = m_lastVoiced;
    detections->append(detection);
}

QString SphinxEngine::reconsidered(const QString &phrase, Detection *detection, QString *heard)
{
    if (m_options.refuseAfterCut && m_stretch.startsInsideSpeech())
        return QString();
    // A command over quieter talk stands out by level. Heard again on its own, it counts when it
    // is the phrase the whole utterance held: on its own, a piece of a sentence or of the talk
    // can sound like a command too.
    const QString held = m_grammar.phraseFor(PhraseSearch::withoutPhoneLoop(*heard));
    if (const std::optional<LoudPart::Range> loud = m_loudPart.find(m_frames);
        loud && !held.isEmpty()) {
        const QString alone = acceptedInLoudPart(*loud, detection, heard);
        return alone == held ? alone : QString();
    }
    // Talk runs on where a command stops: a long stretch of speech is held to its own price.
    if (!phrase.isEmpty() && m_options.longSpeechGarbagePhoneLog10 && !m_heardAsLong &&
        stretchIsLong())
        return acceptedOnSecondHearing(phrase, detection, heard);
    return phrase;
}

QString SphinxEngine::acceptedOnSecondHearing(const QString &firstPhrase, Detection *detection,
                                              QString *heard)
{
    // Without the search the first hearing's result stands.
    if (!hearAgain(PhraseSearch::Speech::Long, {0, m_frames.size() - 1}, heard))
        return firstPhrase;
    return acceptedPhrase(BestPath(m_ps), m_frames, detection);
}

QString SphinxEngine::acceptedInLoudPart(const LoudPart::Range &part, Detection *detection,
                                         QString *heard)
{
    // Said on its own, a command is decoded at the price for speech said on its own.
    if (!hearAgain(PhraseSearch::Speech::Short, part, heard))
        return QString();
    return acceptedPhrase(BestPath(m_ps), m_frames.part(part.first, part.last), detection);
}

bool SphinxEngine::hearAgain(PhraseSearch::Speech speech, const LoudPart::Range &range,
                             QString *heard)
{
    if (!PhraseSearch::select(m_ps, m_searchNumber, speech, m_laterSearches)) {
        qCDebug(lcSpeech) << "no search to hear the utterance again";
        return false;
    }
    m_cepstralMean.rewind();
    const qsizetype first = qMin(range.first * kFrameSamples, m_utterance.size());
    const qsizetype end = qMin((range.last + 1) * kFrameSamples, m_utterance.size());
    if (ps_start_utt(m_ps) != 0)
        return false;
    ps_process_raw(m_ps, m_utterance.constData() + first, size_t(end - first), FALSE, FALSE);
    m_cepstralMean.endPass();
    qCDebug(lcSpeech) << "frames" << range.first << "-" << range.last << "heard again after"
                      << *heard;
    *heard = BestPath(m_ps).key();
    return true;
}

QString SphinxEngine::acceptedPhrase(const BestPath &path, const UtteranceFrames &frames,
                                     Detection *detection) const
{
    detection->belowVoiceDb = m_gate.belowVoiceDb();
    // A result through the phone loop alone is speech that is none of the phrases.
    const QString phrase = m_grammar.phraseFor(PhraseSearch::withoutPhoneLoop(path.key()));
    if (phrase.isEmpty())
        return QString();
    PhraseAcceptance::Figures figures;
    const bool accepted = m_acceptance.accepts(path.words(), frames, &figures);
    detection->coverage = figures.coverage;
    detection->pace = figures.pace;
    detection->asideDb = figures.asideDb;
    detection->aside = figures.aside;
    return accepted && m_gate.passes() ? phrase : QString();
}
