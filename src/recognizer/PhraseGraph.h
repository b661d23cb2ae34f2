#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

// Phrases as a graph of words for the search: a tree from the start state, in which phrases with
// the same first words share states, and whose arcs for the phrases' last words lead to the final
// state.
class PhraseGraph
{
public:
    static constexpr int StartState = 0;
    static constexpr int FinalState = 1;

    struct Arc
    {
        int from;
        int to;
        int word; // index into words()
    };

    // A state of the caller's own, for paths beside the phrases.
    int addState() { return m_stateCount++; }
    void addPhrase(const QStringList &words);

    // The distinct words, in the order of their first use.
    const QStringList &words() const { return m_words; }
    const QList<Arc> &arcs() const { return m_arcs; }
    int stateCount() const { return m_stateCount; }

private:
    int wordIndex(const QString &word);

    QStringList m_words;
    QHash<QString, int> m_wordIndex;
    QList<Arc> m_arcs;
    QHash<quint64, int> m_children; // (state, word) -> the state after that word
    QSet<quint64> m_endings;        // (state, word) that ends a phrase
    int m_stateCount = 2;
};
