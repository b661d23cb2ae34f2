#include "SphinxEngine.h"

#include "Pronouncer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSet>
#include <cmath>

#include <pocketsphinx.h>
#include <sphinxbase/cmn.h>
#include <sphinxbase/err.h>
#include <sphinxbase/fsg_model.h>

// QT_LOGGING_RULES="jev.speech.debug=true" shows every decision.
Q_LOGGING_CATEGORY(lcSpeech, "jev.speech", QtWarningMsg)

static_assert(std::is_same_v<mfcc_t, float>, "the cepstral mean is kept as float");

namespace {

// Words of the phone loop; a key never holds "_", so they cannot clash with a phrase's words.
const char kGarbagePrefix[] = "garbage_";
const char *const kPhones[] = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH",
                               "EH", "ER", "EY", "F",  "G",  "HH", "IH", "IY", "JH", "K",
                               "L",  "M",  "N",  "NG", "OW", "OY", "P",  "R",  "S",  "SH",
                               "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};

// A very long stretch of speech is not a command; deciding it bounds the search's memory.
constexpr int kMaxUtteranceMs = 8000;
constexpr qsizetype kFrameSamples = SpeechDetector::FrameSamples;
static_assert(kFrameSamples * 100 == SphinxEngine::SampleRate, "the engine works on 10 ms frames");
constexpr int kPrerollMs = 300;
constexpr int kMinWordMs = 100;
constexpr double kNoiseFloorRms = 100;
// The price of each phone on the garbage path, measured with bench/recognition: dearer lets
// more sentences through as commands, cheaper refuses commands.
constexpr double kGarbagePhoneLog10 = -3.5;

constexpr float kSilenceProbability = 0.1f;

constexpr int kStartState = 0;
constexpr int kFinalState = 1;
constexpr int kGarbageState = 2;

qint64 msToSamples(int ms)
{
    return qint64(ms) * SphinxEngine::SampleRate / 1000;
}

QByteArray garbageWord(const char *phone)
{
    return QByteArray(kGarbagePrefix) + QByteArray(phone).toLower();
}

} // namespace

QString SphinxEngine::defaultModelDir()
{
    const QString fromEnvironment = qEnvironmentVariable("JEV_SPEECH_MODEL");
    return fromEnvironment.isEmpty() ? QStringLiteral("/usr/share/pocketsphinx/model/en-us")
                                     : fromEnvironment;
}

double SphinxEngine::coverageThreshold(int sensitivity)
{
    // From the sweep of bench/recognition: at 0.75 (the default) nearly every command is kept
    // and most sentences that are not commands are refused; 0.5 keeps a few more commands and
    // lets far more sentences through.
    const int s = qBound(0, sensitivity, 100);
    return 1.0 - s * 0.005;
}

SphinxEngine::SphinxEngine(const Options &options)
    : m_options(options),
      m_minCoverage(options.minCoverage.value_or(coverageThreshold(options.sensitivity)))
{
    if (m_options.modelDir.isEmpty())
        m_options.modelDir = defaultModelDir();
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
    const QByteArray hmmPath = hmm.toLocal8Bit();
    const QByteArray dictPath = dict.toLocal8Bit();
    QList<QByteArray> arguments{"jev", "-hmm", hmmPath, "-dict", dictPath};
    // The engine's own detector decides what is speech; the library decodes all it is given.
    arguments += {"-remove_silence", "no", "-dither", "yes"};
    // Only silence may sit between words: see setGrammar.
    arguments += {"-fsgusefiller", "no", "-fsgusealtpron", "no"};
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
    for (const char *phone : kPhones)
        ps_add_word(m_ps, garbageWord(phone).constData(), phone, FALSE);
    feat_t *feat = ps_get_feat(m_ps);
    m_initialCepstralMean.resize(feat_cepsize(feat));
    cmn_live_get(feat->cmn_struct, m_initialCepstralMean.data());
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
    // Words that the dictionary lacks get pronunciations first: the search is built from it.
    QSet<QString> words;
    for (const QStringList &key : grammar.keys()) {
        for (const QString &word : key)
            words.insert(word);
    }
    for (const QString &word : std::as_const(words)) {
        const QByteArray utf8 = word.toUtf8();
        if (char *known = ps_lookup_word(m_ps, utf8.constData())) {
            ckd_free(known);
            continue;
        }
        QString phones = Pronouncer::phones(word);
        if (phones.isEmpty())
            phones = Pronouncer::spelledPhones(word);
        ps_add_word(m_ps, utf8.constData(), phones.toLatin1().constData(), FALSE);
        // Names are often made of words and letters ("xterm", "libreoffice"); said that way,
        // they need a second pronunciation beside the letter-to-sound one.
        const QString compound = Pronouncer::compoundPhones(word, [this](const QString &piece) {
            char *known = ps_lookup_word(m_ps, piece.toUtf8().constData());
            const QString phones = QString::fromLatin1(known);
            ckd_free(known);
            return phones;
        });
        QStringList alternatives;
        if (!compound.isEmpty() && compound != phones)
            alternatives.append(compound);
        // A name that reads like no English word is as often spelled out as read.
        const QString spelled = Pronouncer::spelledPhones(word);
        if (!Pronouncer::looksPronounceable(word) && !alternatives.contains(spelled) &&
            spelled != phones)
            alternatives.append(spelled);
        for (qsizetype i = 0; i < alternatives.size(); ++i) {
            const QByteArray name = utf8 + '(' + QByteArray::number(i + 2) + ')';
            ps_add_word(m_ps, name.constData(), alternatives[i].toLatin1().constData(), FALSE);
        }
    }

    const qint64 wordsNs = timer.nsecsElapsed();

    // The phrases as a tree of words: phrases with the same first words share states. A phrase's
    // last word leads to the final state.
    QHash<QString, int> wordIndex;
    QList<QByteArray> wordList;
    auto indexOf = [&](const QString &word) {
        auto it = wordIndex.find(word);
        if (it == wordIndex.end()) {
            it = wordIndex.insert(word, int(wordList.size()));
            wordList.append(word.toUtf8());
        }
        return it.value();
    };
    auto arcKey = [](int from, int word) { return quint64(quint32(from)) << 32 | quint32(word); };
    struct Arc
    {
        int from;
        int to;
        int word;
    };
    QList<Arc> arcs;
    QHash<quint64, int> children; // (state, word) -> the state after that word
    QSet<quint64> endings;        // (state, word) that ends a phrase
    int stateCount = 3;
    for (const QStringList &key : grammar.keys()) {
        int from = kStartState;
        for (qsizetype i = 0; i < key.size(); ++i) {
            const int word = indexOf(key.at(i));
            const quint64 at = arcKey(from, word);
            if (i + 1 == key.size()) {
                if (!endings.contains(at)) {
                    endings.insert(at);
                    arcs.append({from, kFinalState, word});
                }
                break;
            }
            auto it = children.find(at);
            if (it == children.end()) {
                it = children.insert(at, stateCount++);
                arcs.append({from, it.value(), word});
            }
            from = it.value();
        }
    }

    logmath_t *lmath = ps_get_logmath(m_ps);
    const float lw = float(cmd_ln_float32_r(ps_get_config(m_ps), "-lw"));
    const QByteArray name = "jev" + QByteArray::number(++m_searchNumber);
    fsg_model_t *fsg = fsg_model_init(name.constData(), lmath, lw, stateCount);
    fsg->start_state = kStartState;
    fsg->final_state = kFinalState;
    // The library looks a word up by walking its whole vocabulary, so each word is added once.
    // Its own pass for alternative pronunciations ("live(2)") walks every arc for every such
    // word; the arcs for them are added here instead, which is far quicker for big grammars.
    QList<QList<int>> wordIds;
    for (const QByteArray &word : std::as_const(wordList)) {
        QList<int> ids{fsg_model_word_add(fsg, word.constData())};
        for (int n = 2;; ++n) {
            const QByteArray alternative = word + '(' + QByteArray::number(n) + ')';
            char *known = ps_lookup_word(m_ps, alternative.constData());
            if (!known)
                break;
            ckd_free(known);
            ids.append(fsg_model_word_add(fsg, alternative.constData()));
        }
        wordIds.append(ids);
    }
    for (const Arc &arc : std::as_const(arcs)) {
        for (const int wid : std::as_const(wordIds[arc.word]))
            fsg_model_trans_add(fsg, arc.from, arc.to, 0, wid);
    }
    const int garbageLogp = int(logmath_log(lmath, std::pow(10.0, kGarbagePhoneLog10)) * lw);
    for (const char *phone : kPhones) {
        const int wid = fsg_model_word_add(fsg, garbageWord(phone).constData());
        fsg_model_trans_add(fsg, kStartState, kGarbageState, garbageLogp, wid);
        fsg_model_trans_add(fsg, kGarbageState, kGarbageState, garbageLogp, wid);
        fsg_model_trans_add(fsg, kGarbageState, kFinalState, garbageLogp, wid);
        fsg_model_trans_add(fsg, kStartState, kFinalState, garbageLogp, wid);
    }
    // Only silence may sit between and around words. The model's noise words would let any
    // speech pass as "spoken noise" around a short phrase, so they are left out.
    fsg_model_add_silence(fsg, "<sil>", -1, kSilenceProbability);

    const qint64 graphNs = timer.nsecsElapsed();
    if (m_utteranceStarted) {
        ps_end_utt(m_ps);
        m_utteranceStarted = false;
    }
    const QByteArray oldName =
        m_searchNumber > 1 ? "jev" + QByteArray::number(m_searchNumber - 1) : QByteArray();
    const bool ok =
        ps_set_fsg(m_ps, name.constData(), fsg) == 0 && ps_set_search(m_ps, name.constData()) == 0;
    fsg_model_free(fsg);
    if (!oldName.isEmpty() && ok)
        ps_unset_search(m_ps, oldName.constData());
    if (!ok) {
        if (error)
            *error = QStringLiteral("The speech engine refused the grammar.");
        return false;
    }
    qCDebug(lcSpeech) << grammar.keys().size() << "phrases:" << words.size() << "words in"
                      << wordsNs / 1000000 << "ms, graph" << (graphNs - wordsNs) / 1000000
                      << "ms, search" << (timer.nsecsElapsed() - graphNs) / 1000000 << "ms";
    m_grammar = grammar;
    return true;
}

void SphinxEngine::restart()
{
    if (m_utteranceStarted) {
        ps_end_utt(m_ps);
        m_utteranceStarted = false;
    }
    m_position = 0;
    m_lastVoiced = 0;
    m_pending.clear();
    m_preroll.clear();
    m_speechFrames.clear();
    m_detector.reset();
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
    const qint16 *frame = withNoiseFloor(input);
    const bool speech = m_detector.addFrame(input);
    if (m_utteranceStarted)
        continueUtterance(frame, speech, detections);
    else
        awaitUtterance(frame, speech);
}

void SphinxEngine::awaitUtterance(const qint16 *frame, bool speech)
{
    m_preroll.append(QList<qint16>(frame, frame + kFrameSamples));
    m_speechFrames.append(speech);
    if (m_preroll.size() > msToSamples(kPrerollMs)) {
        m_preroll.remove(0, m_preroll.size() - msToSamples(kPrerollMs));
        m_speechFrames.remove(0, m_speechFrames.size() - m_preroll.size() / kFrameSamples);
    }
    if (!m_detector.speechStarted())
        return;
    // The decoder gets the moments before the detector was sure, where the speech began.
    if (ps_start_utt(m_ps) != 0)
        return;
    // Every utterance starts from the model's cepstral mean. Carried over from the last
    // utterance, the mean is dragged by its silence and spoils the next one.
    cmn_live_set(ps_get_feat(m_ps)->cmn_struct, m_initialCepstralMean.data());
    m_utteranceStarted = true;
    m_speechStart = m_position;
    m_lastVoiced = m_position;
    m_checkedPartial = false;
    ps_process_raw(m_ps, m_preroll.constData(), size_t(m_preroll.size()), FALSE, FALSE);
    m_utteranceStart = m_position - m_preroll.size();
    m_preroll.clear();
}

void SphinxEngine::continueUtterance(const qint16 *frame, bool speech, QList<Detection> *detections)
{
    ps_process_raw(m_ps, frame, kFrameSamples, FALSE, FALSE);
    m_speechFrames.append(speech);
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
        const QString key = hypothesis();
        if (!m_grammar.phraseFor(key).isEmpty() && !m_grammar.isPrefixOfLonger(key) &&
            lastWordStartsInSpeech())
            return true;
    }
    return silence >= msToSamples(m_options.longTailMs);
}

void SphinxEngine::finish(QList<Detection> *detections)
{
    if (m_utteranceStarted)
        endUtterance(detections);
}

QString SphinxEngine::hypothesis() const
{
    int32 score = 0;
    return baseWords(ps_get_hyp(m_ps, &score));
}

QString SphinxEngine::baseWords(const char *hyp)
{
    // An alternative pronunciation names its word "live(2)".
    static const QRegularExpression alternative(QStringLiteral("\\(\\d+\\)"));
    return hyp ? QString::fromUtf8(hyp).remove(alternative) : QString();
}

QList<SphinxEngine::WordFrames> SphinxEngine::wordFrames() const
{
    QList<WordFrames> words;
    int firstStart = -1;
    for (ps_seg_t *seg = ps_seg_iter(m_ps); seg; seg = ps_seg_next(seg)) {
        int start = 0;
        int end = 0;
        ps_seg_frames(seg, &start, &end);
        // Frame numbers run on over utterances; the path's first segment is the utterance's
        // first frame.
        if (firstStart < 0)
            firstStart = start;
        const char *word = ps_seg_word(seg);
        if (word[0] != '<' && word[0] != '+') // silence and fillers are no words
            words.append({start - firstStart, end - firstStart});
    }
    return words;
}

bool SphinxEngine::lastWordStartsInSpeech() const
{
    // In a pause the search may already have put the rest of a phrase into the silence ("page"
    // + pause taken as "page down"); such a word begins after the speech has stopped.
    const QList<WordFrames> words = wordFrames();
    if (words.isEmpty())
        return false;
    const qint64 startSample = m_utteranceStart + qint64(words.last().start) * kFrameSamples;
    return startSample < m_lastVoiced - msToSamples(kMinWordMs);
}

double SphinxEngine::wordCoverage() const
{
    // The share of the frames heard as speech that lie inside the phrase's words. A phrase found
    // in a long sentence takes a few of its words and leaves the rest to silence; a pause
    // between the words of a command is no speech and does not count.
    QList<bool> inWord(m_speechFrames.size(), false);
    for (const WordFrames &word : wordFrames()) {
        for (qsizetype f = qMax(0, word.start); f <= word.end && f < inWord.size(); ++f)
            inWord[f] = true;
    }
    qsizetype speech = 0;
    qsizetype covered = 0;
    for (qsizetype f = 0; f < m_speechFrames.size(); ++f) {
        if (m_speechFrames[f]) {
            ++speech;
            covered += inWord[f] ? 1 : 0;
        }
    }
    return speech ? double(covered) / double(speech) : 0;
}

void SphinxEngine::endUtterance(QList<Detection> *detections)
{
    QElapsedTimer timer;
    timer.start();
    ps_end_utt(m_ps);
    int32 score = 0;
    const QString key = baseWords(ps_get_hyp(m_ps, &score));
    m_utteranceStarted = false;
    m_detector.awaitNewSpeech();
    // A result through the phone loop is speech that is none of the phrases.
    QString phrase =
        key.contains(QLatin1String(kGarbagePrefix)) ? QString() : m_grammar.phraseFor(key);
    const double coverage = phrase.isEmpty() ? 0 : wordCoverage();
    if (coverage < m_minCoverage)
        phrase.clear();
    m_speechFrames.clear();
    const double searchMs = timer.nsecsElapsed() / 1e6;
    qCDebug(lcSpeech) << "utterance" << m_utteranceStart / 16 << "-" << m_lastVoiced / 16
                      << "ms, decided at" << m_position / 16 << "ms:" << key << "coverage"
                      << coverage << "search" << searchMs << "ms";
    if (!phrase.isEmpty() && detections)
        detections->append({phrase, m_position, m_lastVoiced, searchMs, coverage});
}
