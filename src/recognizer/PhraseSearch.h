#pragma once

#include "PhraseGraph.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct fsg_model_s;
struct ps_decoder_s;

// The search the decoder runs for a grammar: the phrase graph, a loop of phones beside it that
// takes any other speech, and silence between and around words. Each search is named after a
// number that grows with every grammar.
class PhraseSearch
{
public:
    // The price of each phone on the garbage path, as a power of ten, measured with
    // bench/recognition: dearer lets more sentences through as commands, cheaper refuses commands.
    static constexpr double GarbagePhoneLog10 = -3.5;

    // The decoder's arguments that the search needs ("-name", "value", ...).
    static QList<QByteArray> decoderArguments();
    // Adds the phone loop's words to the decoder's dictionary; once, when it opens.
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
    static fsg_model_s *build(ps_decoder_s *ps, const PhraseGraph &graph, int number,
                              bool aroundPhrases, double garbagePhoneLog10);
    // Makes the grammar the decoder's search and frees it; the search of number - 1 goes. False
    // when the decoder refuses it: the last search then stays.
    static bool use(ps_decoder_s *ps, fsg_model_s *fsg, int number);
};
