// temp.txt as the recognizer reads it, from arbitrary bytes: the grammar file reader, then the
// phrase keys and the word graph built from its phrases.

#include "FuzzCheck.h"
#include "data/Cp1252Codec.h"
#include "recognizer/GrammarFile.h"
#include "recognizer/PhraseGraph.h"
#include "recognizer/PhraseKey.h"
#include "recognizer/Recognizer.h"
#include "recognizer/SpeechGrammar.h"

namespace {

// The grammar as the program writes it: the header, then one "<start>=" line per phrase.
QByteArray written(const QStringList &phrases)
{
    QByteArray bytes("[Grammar]\r\nlangid = 1033\r\ntype=cfg\r\n[<start>]\r\n");
    for (const QString &phrase : phrases)
        bytes += Cp1252Codec::encode(QStringLiteral("<start>=") + phrase) + "\r\n";
    return bytes;
}

void checkRecognizerGrammar(const QStringList &phrases)
{
    const QStringList own = Recognizer::ownPhrases();
    const SpeechGrammar grammar(phrases, own);
    PhraseGraph graph;
    for (const QStringList &key : grammar.keys()) {
        FUZZ_CHECK(!key.isEmpty());
        // Every key leads back to a phrase of the file or an own one, which has that key itself.
        const QString phrase = grammar.phraseFor(key.join(QLatin1Char(' ')));
        FUZZ_CHECK(phrases.contains(phrase) || own.contains(phrase));
        FUZZ_CHECK(PhraseKey::words(phrase) == key);
        graph.addPhrase(key);
    }
    // The own phrases are heard whatever the file holds, spelled their own way.
    for (const QString &phrase : own)
        FUZZ_CHECK(grammar.phraseFor(PhraseKey::key(phrase)) == phrase);
    FUZZ_CHECK(grammar.keys().size() + grammar.warnings().size() <= phrases.size() + own.size());
    for (const PhraseGraph::Arc &arc : graph.arcs()) {
        FUZZ_CHECK(arc.from >= 0 && arc.from < graph.stateCount() && arc.to >= 0 &&
                   arc.to < graph.stateCount());
        FUZZ_CHECK(arc.word >= 0 && arc.word < graph.words().size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    GrammarFile grammar;
    QString error;
    const bool read = GrammarFile::parse(fuzzBytes(data, size), &grammar, &error);
    FUZZ_CHECK(read == error.isEmpty());
    if (!read)
        return 0;
    // What was read is written back the same way and reads back the same.
    GrammarFile again;
    FUZZ_CHECK(GrammarFile::parse(written(grammar.phrases), &again, &error));
    FUZZ_CHECK(again.phrases == grammar.phrases);
    checkRecognizerGrammar(grammar.phrases);
    return 0;
}
