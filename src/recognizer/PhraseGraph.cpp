#include "PhraseGraph.h"

namespace {

quint64 arcKey(int from, int word)
{
    return quint64(quint32(from)) << 32 | quint32(word);
}

} // namespace

void PhraseGraph::addPhrase(const QStringList &words)
{
    int from = StartState;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const int word = wordIndex(words.at(i));
        const quint64 at = arcKey(from, word);
        if (i + 1 == words.size()) {
            if (!m_endings.contains(at)) {
                m_endings.insert(at);
                m_arcs.append({from, FinalState, word});
            }
            return;
        }
        auto it = m_children.find(at);
        if (it == m_children.end()) {
            it = m_children.insert(at, m_stateCount++);
            m_arcs.append({from, it.value(), word});
        }
        from = it.value();
    }
}

int PhraseGraph::wordIndex(const QString &word)
{
    auto it = m_wordIndex.find(word);
    if (it == m_wordIndex.end()) {
        it = m_wordIndex.insert(word, int(m_words.size()));
        m_words.append(word);
    }
    return it.value();
}
