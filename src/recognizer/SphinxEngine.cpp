#include "SphinxEngine.h"

#include "PhraseSearch.h"
#include "Sensitivity.h"
#include "SphinxDictionary.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <algorithm>
#include <cmath>

#include <pocketsphinx.h>
#include <sphinxbase/err.h>
#include <sphinxbase/fsg_model.h>

// QT_LOGGING_RULES="jev.speech.debug=true" shows every decision.
Q_LOGGING_CATEGORY(lcSpeech, "jev.speech", QtWarningMsg)

namespace {

// A very long stretch of speech is not a command; deciding it bounds the search's memory.
constexpr int kMaxUtteranceMs = 8000;
constexpr qsizetype kFrameSamples = SpeechDetector::FrameSamples;
static_assert(kFrameSamples * 100 == SphinxEngine::SampleRate, "the engine works on 10 ms frames");
constexpr int kPrerollMs = 300;
constexpr int kMinWordMs = 100;
constexpr double kNoiseFloorRms = 100;
// Sound quieter than this below the user's voice level is someone else's (a television), not
// the start or the continuation of a command.
constexpr double kNearVoiceDb = 18;

qint64 msToSamples(int ms)
{
    return qint64(ms) * SphinxEngine::SampleRate / 1000;
}

// The engine's arguments for the library; extra ("-name", "value", ...) replaces or adds to them.
QList<QByteArray> decoderArguments(const QString &hmm, const QString &dict,
                                   const QStringList &extra)
{
    QList<QByteArray> arguments{"jev", "-hmm", hmm.toLocal8Bit(), "-dict", dict.toLocal8Bit()};
    // The engine's own detector decides what is speech; the library decodes all it is given.
    // No dither: the engine's own noise floor keeps digital silence from the model, and without
    // it an utterance heard a second time is heard exactly as the first time.
    arguments += {"-remove_silence", "no", "-dither", "no"};
    arguments += PhraseSearch::decoderArguments();
    for (qsizetype i = 0; i + 1 < extra.size(); i += 2) {
        if (const qsizetype at = arguments.indexOf(extra[i].toLocal8Bit()); at > 0)
            arguments.remove(at, 2);
        arguments += {extra[i].toLocal8Bit(), extra[i + 1].toLocal8Bit()};
    }
    return arguments;
}

} // namespace

QString SphinxEngine::defaultModelDir()
{
    const QString fromEnvironment = qEnvironmentVariable("JEV_SPEECH_MODEL");
    return fromEnvironment.isEmpty() ? QStringLiteral("/usr/share/pocketsphinx/model/en-us")
                                     : fromEnvironment;
}

SphinxEngine::SphinxEngine(const Options &options)
    : m_options(options), m_minCoverage(options.minCoverage.value_or(
                              Sensitivity::coverageThreshold(options.sensitivity))),
      m_maxFramesPerPhone(options.maxFramesPerPhone.value_or(0)),
      m_asideMarginDb(
          options.asideMarginDb.value_or(Sensitivity::asideMarginDb(options.sensitivity))),
      m_suppressor(options.quietRoomSuppressionLevel, options.suppressionLevel,
                   options.noisyRoomDb),
      m_stretch(msToSamples(options.longTailMs))
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
    const QString hmm = m_options.modelDir + QStringLiteral("/en-us");
    const QString dict = m_options.modelDir + QStringLiteral("/cmudict-en-us.dict");
    if (!QFileInfo(hmm + QStringLiteral("/mdef")).isFile() || !QFileInfo(dict).isFile()) {
        if (error)
            *error = QStringLiteral("The speech model is missing from %1 (the Debian package "
                                    "pocketsphinx-en-us provides it).")
                         .arg(m_options.modelDir);
        return false;
    }
    // The library logs every step to standard error; the program reports its own errors.
    err_set_logfp(nullptr);
    QList<QByteArray> arguments = decoderArguments(hmm, dict, m_options.decoderArguments);
    QList<char *> argv;
    for (QByteArray &argument : arguments)
        argv.append(argument.data());
    cmd_ln_t *config = cmd_ln_parse_r(nullptr, ps_args(), int(argv.size()), argv.data(), TRUE);
    if (config)
        m_ps = ps_init(config);
    if (config)
        cmd_ln_free_r(config);
    if (!m_ps) {
        if (error)
            *error =
                QStringLiteral("The speech model in %1 cannot be loaded.").arg(m_options.modelDir);
        return false;
    }
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
    const PhraseGraph graph = PhraseSearch::graph(grammar.keys());
    // Words that the dictionary lacks get pronunciations first: the search is built from it.
    SphinxDictionary(m_ps).addMissing(graph.words());
    const qint64 wordsNs = timer.nsecsElapsed();
    fsg_model_t *fsg =
        PhraseSearch::build(m_ps, graph, m_options.findInsideSpeech, m_options.garbagePhoneLog10);
    fsg_model_t *longFsg = nullptr;
    if (m_options.longSpeechGarbagePhoneLog10)
        longFsg = PhraseSearch::build(m_ps, graph, m_options.findInsideSpeech,
                                      *m_options.longSpeechGarbagePhoneLog10);
    const qint64 graphNs = timer.nsecsElapsed();
    if (m_utteranceStarted) {
        ps_end_utt(m_ps);
        m_utteranceStarted = false;
    }
    // The number moves on only with the searches: select() names the searches in use.
    if (!PhraseSearch::use(m_ps, fsg, longFsg, m_searchNumber + 1)) {
        if (error)
            *error = QStringLiteral("The speech engine refused the grammar.");
        return false;
    }
    ++m_searchNumber;
    qCDebug(lcSpeech) << grammar.keys().size() << "phrases:" << graph.words().size() << "words in"
                      << wordsNs / 1000000 << "ms, graph" << (graphNs - wordsNs) / 1000000
                      << "ms, search" << (timer.nsecsElapsed() - graphNs) / 1000000 << "ms";
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
    m_utterance.clear();
    m_frames.clear();
    m_detector.reset();
    m_suppressor.reset();
    m_gate.reset();
    // The same stream gives the same result.
    m_random.seed();
    m_noise.reset();
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

const qint16 *SphinxEngine::withNoiseFloor(const qint16 *frame)
{
    // The model's silence was learnt from rooms, never from digital zeros: a quiet noise floor
    // under the sound keeps pauses from being taken for words.
    for (qsizetype i = 0; i < kFrameSamples; ++i) {
        const double noise = m_noise(m_random) * kNoiseFloorRms;
        m_noisyFrame[i] = qint16(qBound(-32768.0, frame[i] + std::round(noise), 32767.0));
    }
    return m_noisyFrame;
}

void SphinxEngine::processFrame(const qint16 *input, QList<Detection> *detections)
{
    m_position += kFrameSamples;
    m_gate.addFrame(input);
    if (m_options.suppressNoise)
        m_suppressor.process(input, m_cleanFrame, !m_utteranceStarted);
    else
        std::copy(input, input + kFrameSamples, m_cleanFrame);
    const qint16 *frame = m_options.addNoiseFloor ? withNoiseFloor(m_cleanFrame) : m_cleanFrame;
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
    if (m_preroll.size() > msToSamples(kPrerollMs)) {
        m_preroll.remove(0, m_preroll.size() - msToSamples(kPrerollMs));
        m_frames.keepLast(m_preroll.size() / kFrameSamples);
    }
    if (m_detector.speechStarted())
        startUtterance();
}

void SphinxEngine::startUtterance()
{
    // The decoder gets the moments before the detector was sure, where the speech began.
    const qint64 start = m_position - m_preroll.size();
    // Speech that goes on from the last utterance, as talk does, is held to the long speech's
    // price from its start.
    m_heardAsLong = m_stretch.startUtterance(start) && m_options.longSpeechGarbagePhoneLog10;
    const auto speech = m_heardAsLong ? PhraseSearch::Speech::Long : PhraseSearch::Speech::Short;
    if (!PhraseSearch::select(m_ps, m_searchNumber, speech) || ps_start_utt(m_ps) != 0)
        return;
    m_cepstralMean.startUtterance();
    m_utteranceStarted = true;
    m_gate.startUtterance();
    m_utteranceStart = start;
    m_speechStart = m_position;
    m_lastVoiced = m_position;
    m_checkedPartial = false;
    ps_process_raw(m_ps, m_preroll.constData(), size_t(m_preroll.size()), FALSE, FALSE);
    m_utterance = m_preroll;
    m_preroll.clear();
}

void SphinxEngine::continueUtterance(const qint16 *frame, bool speech, QList<Detection> *detections)
{
    ps_process_raw(m_ps, frame, kFrameSamples, FALSE, FALSE);
    m_utterance.append(QList<qint16>(frame, frame + kFrameSamples));
    m_frames.add(speech, m_frameLevelDb);
    if (speech) {
        m_lastVoiced = m_position;
        m_checkedPartial = false;
        if (m_position - m_speechStart > msToSamples(kMaxUtteranceMs))
            endUtterance(detections);
        return;
    }
    if (phraseIsOver())
        endUtterance(detections);
}

bool SphinxEngine::phraseIsOver()
{
    const qint64 silence = m_position - m_lastVoiced;
    if (!m_checkedPartial && silence >= msToSamples(m_options.shortTailMs)) {
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

void SphinxEngine::endUtterance(QList<Detection> *detections)
{
    QElapsedTimer timer;
    timer.start();
    ps_end_utt(m_ps);
    m_cepstralMean.endUtterance(m_utterance, m_frames.speechCount());
    m_utteranceStarted = false;
    m_stretch.endUtterance(m_lastVoiced);
    m_detector.awaitNewSpeech();
    Detection detection;
    QString heard = BestPath(m_ps).key();
    QString phrase = acceptedPhrase(BestPath(m_ps), &detection);
    // Talk runs on where a command stops: a long stretch of speech is held to its own price.
    if (!phrase.isEmpty() && m_options.longSpeechGarbagePhoneLog10 && !m_heardAsLong &&
        m_stretch.lengthAt(m_lastVoiced) > msToSamples(m_options.longSpeechMs))
        phrase = acceptedOnSecondHearing(phrase, &detection, &heard);
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

QString SphinxEngine::acceptedOnSecondHearing(const QString &firstPhrase, Detection *detection,
                                              QString *heard)
{
    if (!PhraseSearch::select(m_ps, m_searchNumber, PhraseSearch::Speech::Long)) {
        // Without the search the first hearing's result stands.
        qCDebug(lcSpeech) << "no search for long speech";
        return firstPhrase;
    }
    m_cepstralMean.rewind();
    QString phrase;
    if (ps_start_utt(m_ps) == 0) {
        ps_process_raw(m_ps, m_utterance.constData(), size_t(m_utterance.size()), FALSE, FALSE);
        ps_end_utt(m_ps);
        qCDebug(lcSpeech) << "heard again, as long speech, after" << *heard;
        *heard = BestPath(m_ps).key();
        phrase = acceptedPhrase(BestPath(m_ps), detection);
    }
    return phrase;
}

QString SphinxEngine::acceptedPhrase(const BestPath &path, Detection *detection) const
{
    detection->belowVoiceDb = m_gate.belowVoiceDb();
    const QString key = path.key();
    const QString phraseKey = PhraseSearch::withoutPhoneLoop(key);
    const bool aside = phraseKey != key;
    detection->aside = aside;
    // A result through the phone loop alone is speech that is none of the phrases.
    const QString phrase = m_grammar.phraseFor(phraseKey);
    if (phrase.isEmpty())
        return QString();
    QList<BestPath::Word> words;
    QList<BestPath::Word> besides;
    for (const BestPath::Word &word : path.words())
        (word.phoneLoop ? besides : words).append(word);
    detection->coverage =
        BestPath::coverage(words, m_frames.toCover(m_options.coverageRangeDb, besides));
    detection->pace = BestPath::slowestPace(words);
    detection->asideDb =
        besides.isEmpty() ? 0 : m_frames.loudestIn(words) - m_frames.loudestIn(besides);
    if (detection->coverage < m_minCoverage || !m_gate.passes() ||
        (m_maxFramesPerPhone > 0 && detection->pace > m_maxFramesPerPhone) ||
        (aside && detection->asideDb < m_asideMarginDb))
        return QString();
    return phrase;
}
