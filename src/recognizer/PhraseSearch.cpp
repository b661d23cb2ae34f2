#include "PhraseSearch.h"

#include "SphinxDictionary.h"

#include <QLoggingCategory>
#include <cmath>

#include <pocketsphinx.h>
#include <sphinxbase/fsg_model.h>

Q_DECLARE_LOGGING_CATEGORY(lcSpeech)

namespace {

// Words of the phone loop; a key never holds "_", so they cannot clash with a phrase's words.
const char kGarbagePrefix[] = "garbage_";
// All of the model's phones. Each is a word with a model for every phone that can come before
// it, so the loop's size sets much of the decoding time. Loops without the phones that a near
// one stands in for (33 down to 23 phones) took a sixth to a third less time, but took more
// sentences for commands, and a cheaper loop that refused them again lost commands
// (bench/recognition). A loop of common English words beside it refused sentences and talk,
// but commands as readily.
const char *const kPhones[] = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH",
                               "EH", "ER", "EY", "F",  "G",  "HH", "IH", "IY", "JH", "K",
                               "L",  "M",  "N",  "NG", "OW", "OY", "P",  "R",  "S",  "SH",
                               "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};
// The price of a pause between and around words. Measured with bench/recognition: 0.5 took a
// sentence more for a command and lost 3 commands in clean speech; 0.02 lost 3 over talk 10 dB
// below them and 5 over talk that goes on.
constexpr float kSilenceProbability = 0.1f;
constexpr int kGarbageState = 2;
// Where the phone loop goes on after a phrase, when phrases may be found inside other speech.
constexpr int kAfterPhraseState = 3;

QByteArray garbageWord(const char *phone)
{
    return QByteArray(kGarbagePrefix) + QByteArray(phone).toLower();
}

QByteArray searchName(int number, PhraseSearch::Speech speech)
{
    const QByteArray name = "jev" + QByteArray::number(number);
    switch (speech) {
    case PhraseSearch::Speech::Short:
        break;
    case PhraseSearch::Speech::Long:
        return name + "long";
    case PhraseSearch::Speech::Quiet:
        return name + "quiet";
    }
    return name;
}

void addPhoneLoop(fsg_model_t *fsg, logmath_t *lmath, float lw, bool aroundPhrases,
                  double phoneLog10)
{
    const int garbageLogp = int(logmath_log(lmath, std::pow(10.0, phoneLog10)) * lw);
    for (const char *phone : kPhones) {
        const int wid = fsg_model_word_add(fsg, garbageWord(phone).constData());
        fsg_model_trans_add(fsg, PhraseGraph::StartState, kGarbageState, garbageLogp, wid);
        fsg_model_trans_add(fsg, kGarbageState, kGarbageState, garbageLogp, wid);
        fsg_model_trans_add(fsg, kGarbageState, PhraseGraph::FinalState, garbageLogp, wid);
        fsg_model_trans_add(fsg, PhraseGraph::StartState, PhraseGraph::FinalState, garbageLogp,
                            wid);
        if (aroundPhrases) {
            fsg_model_trans_add(fsg, kAfterPhraseState, kAfterPhraseState, garbageLogp, wid);
            fsg_model_trans_add(fsg, kAfterPhraseState, PhraseGraph::FinalState, garbageLogp, wid);
        }
    }
}

// A phrase may follow the phone loop and be followed by it, at no price: measured with
// bench/recognition, any price makes a phrase stretched over a whole sentence win again.
// Arcs are copied rather than joined by empty transitions, which the library's partial
// results cannot walk.
void addArc(fsg_model_t *fsg, const PhraseGraph::Arc &arc, int wid, bool aroundPhrases)
{
    fsg_model_trans_add(fsg, arc.from, arc.to, 0, wid);
    if (!aroundPhrases)
        return;
    const bool first = arc.from == PhraseGraph::StartState;
    const bool last = arc.to == PhraseGraph::FinalState;
    if (first)
        fsg_model_trans_add(fsg, kGarbageState, arc.to, 0, wid);
    if (last)
        fsg_model_trans_add(fsg, arc.from, kAfterPhraseState, 0, wid);
    if (first && last)
        fsg_model_trans_add(fsg, kGarbageState, kAfterPhraseState, 0, wid);
}

} // namespace

QList<QByteArray> PhraseSearch::decoderArguments()
{
    // Only silence may sit between words: see build().
    QList<QByteArray> arguments{"-fsgusefiller", "no", "-fsgusealtpron", "no"};
    // Beams far wider than the library's (1e-48, 1e-48, 7e-29): with the phone loop beside
    // every phrase, a command said over talk otherwise drops out of the search before its end.
    // Measured with bench/recognition: about 16 more commands in a hundred are kept over talk
    // 10 dB below them and up to 3 more elsewhere; the cost is 55% more decoding time, and a few
    // more sentences in noise taken for commands.
    arguments += {"-beam", "1e-80", "-pbeam", "1e-80", "-wbeam", "1e-45"};
    // Every phone, of phrase and loop alike, at a price of 0.8 (the library's 1 is none): more
    // commands are kept in clean speech and over talk, for one or two fewer in pink noise
    // (measured with bench/recognition, see the README).
    arguments += {"-pip", "0.8"};
    return arguments;
}

void PhraseSearch::addPhoneWords(ps_decoder_s *ps)
{
    for (const char *phone : kPhones)
        ps_add_word(ps, garbageWord(phone).constData(), phone, FALSE);
}

bool PhraseSearch::isPhoneLoop(const QString &hypothesis)
{
    return hypothesis.contains(QLatin1String(kGarbagePrefix));
}

QString PhraseSearch::withoutPhoneLoop(const QString &hypothesis)
{
    QStringList words = hypothesis.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    words.removeIf([](const QString &word) { return isPhoneLoop(word); });
    return words.join(QLatin1Char(' '));
}

PhraseGraph PhraseSearch::graph(const QList<QStringList> &phrases)
{
    PhraseGraph graph;
    [[maybe_unused]] const int garbage = graph.addState();
    Q_ASSERT(garbage == kGarbageState);
    [[maybe_unused]] const int after = graph.addState();
    Q_ASSERT(after == kAfterPhraseState);
    for (const QStringList &phrase : phrases)
        graph.addPhrase(phrase);
    return graph;
}

fsg_model_s *PhraseSearch::build(ps_decoder_s *ps, const PhraseGraph &graph, bool aroundPhrases,
                                 double garbagePhoneLog10)
{
    logmath_t *lmath = ps_get_logmath(ps);
    const float lw = float(cmd_ln_float32_r(ps_get_config(ps), "-lw"));
    // The search is named when use() adds it; the grammar's own name is only for the library.
    fsg_model_t *fsg = fsg_model_init("jev", lmath, lw, graph.stateCount());
    fsg->start_state = PhraseGraph::StartState;
    fsg->final_state = PhraseGraph::FinalState;
    // The library looks a word up by walking its whole vocabulary, so each word is added once.
    // Its own pass for alternative pronunciations ("live(2)") walks every arc for every such
    // word; the arcs for them are added here instead, which is far quicker for big grammars.
    const SphinxDictionary dictionary(ps);
    QList<QList<int>> wordIds;
    for (const QString &word : graph.words()) {
        QList<int> ids;
        for (const QByteArray &name : dictionary.pronunciations(word))
            ids.append(fsg_model_word_add(fsg, name.constData()));
        wordIds.append(ids);
    }
    for (const PhraseGraph::Arc &arc : graph.arcs()) {
        for (const int wid : std::as_const(wordIds[arc.word]))
            addArc(fsg, arc, wid, aroundPhrases);
    }
    addPhoneLoop(fsg, lmath, lw, aroundPhrases, garbagePhoneLog10);
    // Only silence may sit between and around words. The model's noise words would let any
    // speech pass as "spoken noise" around a short phrase, so they are left out.
    fsg_model_add_silence(fsg, "<sil>", -1, kSilenceProbability);
    return fsg;
}

bool PhraseSearch::use(ps_decoder_s *ps, fsg_model_s *shortSpeech, int number)
{
    const QByteArray shortName = searchName(number, Speech::Short);
    const bool ok = ps_set_fsg(ps, shortName.constData(), shortSpeech) == 0 &&
                    ps_set_search(ps, shortName.constData()) == 0;
    fsg_model_free(shortSpeech);
    if (ok && number > 1) {
        ps_unset_search(ps, searchName(number - 1, Speech::Short).constData());
        ps_unset_search(ps, searchName(number - 1, Speech::Long).constData());
        ps_unset_search(ps, searchName(number - 1, Speech::Quiet).constData());
    }
    return ok;
}

PhraseSearch::Later PhraseSearch::later(const PhraseGraph &graph, bool aroundPhrases,
                                        std::optional<double> longSpeechPhoneLog10,
                                        std::optional<double> quietPhoneLog10)
{
    const auto deferred = [&](std::optional<double> price) -> std::optional<Deferred> {
        if (!price)
            return std::nullopt;
        return Deferred{graph, aroundPhrases, *price};
    };
    return {deferred(longSpeechPhoneLog10), deferred(quietPhoneLog10)};
}

bool PhraseSearch::select(ps_decoder_s *ps, int number, Speech speech, Later &later)
{
    const QByteArray name = searchName(number, speech);
    std::optional<Deferred> &deferred = later.of(speech);
    if (speech != Speech::Short && deferred) {
        fsg_model_t *fsg =
            build(ps, deferred->graph, deferred->aroundPhrases, deferred->garbagePhoneLog10);
        deferred.reset();
        // Refused, the short speech's search serves this speech too, as without its own.
        if (ps_set_fsg(ps, name.constData(), fsg) != 0)
            qCDebug(lcSpeech) << "the decoder refused the search" << name;
        fsg_model_free(fsg);
    }
    if (speech != Speech::Short && !ps_get_fsg(ps, name.constData()))
        speech = Speech::Short;
    return ps_set_search(ps, searchName(number, speech).constData()) == 0;
}
