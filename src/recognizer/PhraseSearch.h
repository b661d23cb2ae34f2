#pragma once

#include "PhraseGraph.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

struct fsg_model_s;
struct ps_decoder_s;

// The search the decoder runs for a grammar: the phrase graph, a loop of phones beside it that
// takes any other speech, and silence between and around words. Each search is named after a
// number that grows with every grammar.
class PhraseSearch
{
public:
    // A grammar may have three searches, with different prices on the phone loop: one for speech
    // said on its own, one for long stretches of speech, where talk is likelier than a command,
    // and one for speech said on its own where no talk was heard for a while, where a command
    // is likelier than anywhere.
    // The price of each phone on the loop, as a power of ten, measured with bench/recognition:
    // dearer lets more sentences through as commands, cheaper refuses commands. A command said
    // on its own is refused less at 10^-3.75 than at 10^-3.5, with no more sentences taken for
    // commands; over talk the dearer price turns refusals into wrong commands. In long stretches
    // 10^-3 takes fewer sentences for commands than 10^-3.5 or 10^-3.25, and gives fewer wrong
    // commands over talk and fewer false ones in talk alone, with as many commands kept.
    static constexpr double GarbagePhoneLog10 = -3.75;
    static constexpr double LongSpeechGarbagePhoneLog10 = -3.0;
    // In a quiet room, 10^-4.5 found 2.8 more commands in a hundred in clean speech and 1 to 4
    // more in noise than 10^-3.75, and took 3 more sentences in a hundred for commands (10^-4.25
    // found fewer commands for as many sentences; 10^-5.5 took 12% of the sentences).
    static constexpr double QuietGarbagePhoneLog10 = -4.5;
    enum class Speech
    {
        Short,
        Long,
        // Said on its own where nobody has talked for a while.
        Quiet
    };

    // The decoder's arguments that the search needs ("-name", "value", ...).
    static QList<QByteArray> decoderArguments();
    // Adds the phone loop's words to the decoder's dictionary; once, when it opens. They are
    // ordinary words, not the library's fillers: a filler is one model without context, which
    // takes a third to nearly half of the decoding time away, but a command said right after
    // talk is then lost more often (bench/recognition, over talk that goes on: 10 of 184
    // commands fewer on one set, 11 of 276 on the other), likely because the library shows the
    // word after a filler silence before it.
    static void addPhoneWords(ps_decoder_s *ps);
    // Whether a result went through the phone loop: speech that is none of the phrases.
    static bool isPhoneLoop(const QString &hypothesis);
    // The hypothesis's words that are not the phone loop's.
    static QString withoutPhoneLoop(const QString &hypothesis);

    // The phrases as a graph, with a state kept for the phone loop.
    static PhraseGraph graph(const QList<QStringList> &phrases);
    // The graph as the library's grammar; the graph's words must be in the dictionary.
    // aroundPhrases: the phone loop may also come before and after a phrase, so that a phrase
    // said inside other speech is found with that speech beside it.
    static fsg_model_s *build(ps_decoder_s *ps, const PhraseGraph &graph, bool aroundPhrases,
                              double garbagePhoneLog10);
    // Makes the grammar the decoder's search for short speech and frees it; it is selected and
    // the searches of number - 1 go. False when the decoder refuses it: the last ones then stay.
    static bool use(ps_decoder_s *ps, fsg_model_s *shortSpeech, int number);
    // The other searches are built when first selected: a grammar is mostly loaded while the
    // user speaks alone, and building two at once doubled the load of a big one.
    struct Deferred
    {
        PhraseGraph graph;
        bool aroundPhrases = false;
        double garbagePhoneLog10 = 0;
    };
    // A grammar's searches still to be built, for the speech each is for.
    struct Later
    {
        std::optional<Deferred> longSpeech;
        std::optional<Deferred> quiet;
        std::optional<Deferred> &of(Speech speech)
        {
            return speech == Speech::Quiet ? quiet : longSpeech;
        }
    };
    // A price left unset has no search of its own.
    static Later later(const PhraseGraph &graph, bool aroundPhrases,
                       std::optional<double> longSpeechPhoneLog10,
                       std::optional<double> quietPhoneLog10);
    // Selects a search of number, the short speech's when there is no other; another one is
    // built first if later holds it (it is then taken from later). Between utterances only.
    static bool select(ps_decoder_s *ps, int number, Speech speech, Later &later);
};
