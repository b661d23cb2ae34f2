#include "UtteranceFrames.h"

#include <algorithm>
#include <limits>

namespace {

bool isInside(const QList<BestPath::Word> &words, qsizetype frame)
{
    return std::any_of(words.cbegin(), words.cend(), [frame](const BestPath::Word &word) {
        return frame >= word.start && frame <= word.end;
    });
}

} // namespace

void UtteranceFrames::add(bool speech, double levelDb)
{
    m_speech.append(speech);
    m_levels.append(levelDb);
}

void UtteranceFrames::keepLast(qsizetype count)
{
    if (m_speech.size() <= count)
        return;
    m_speech.remove(0, m_speech.size() - count);
    m_levels.remove(0, m_levels.size() - count);
}

void UtteranceFrames::clear()
{
    m_speech.clear();
    m_levels.clear();
}

qsizetype UtteranceFrames::speechCount() const
{
    return std::count(m_speech.cbegin(), m_speech.cend(), true);
}

UtteranceFrames UtteranceFrames::part(qsizetype first, qsizetype last) const
{
    UtteranceFrames frames;
    frames.m_speech = m_speech.mid(first, last - first + 1);
    frames.m_levels = m_levels.mid(first, last - first + 1);
    return frames;
}

double UtteranceFrames::loudestIn(const QList<BestPath::Word> &words) const
{
    double loudest = 0;
    for (const BestPath::Word &word : words) {
        for (qsizetype f = qMax(0, word.start); f <= word.end && f < m_levels.size(); ++f)
            loudest = qMax(loudest, m_levels[f]);
    }
    return loudest;
}

double UtteranceFrames::quietestWordBelowDb(const QList<BestPath::Word> &words) const
{
    if (words.isEmpty())
        return 0;
    double loudest = 0;
    double quietest = std::numeric_limits<double>::max();
    for (const BestPath::Word &word : words) {
        const double level = loudestIn({word});
        loudest = qMax(loudest, level);
        quietest = qMin(quietest, level);
    }
    return loudest - quietest;
}

double UtteranceFrames::slowestSpeechPace(const QList<BestPath::Word> &words) const
{
    double slowest = 0;
    for (const BestPath::Word &word : words) {
        if (word.phones <= 0)
            continue;
        qsizetype speech = 0;
        for (qsizetype f = qMax(0, word.start); f <= word.end && f < m_speech.size(); ++f)
            speech += m_speech[f] ? 1 : 0;
        slowest = qMax(slowest, double(speech) / word.phones);
    }
    return slowest;
}

QList<bool> UtteranceFrames::toCover(const QList<BestPath::Word> &words, double quietestDb,
                                     const QList<BestPath::Word> &besides) const
{
    QList<bool> frames = m_speech;
    // Quieter speech outside the words is not held against them; inside, it is theirs.
    for (qsizetype f = 0; f < frames.size(); ++f)
        frames[f] = frames[f] && (m_levels[f] >= quietestDb || isInside(words, f));
    // Speech beside the phrase is not the phrase's to cover.
    for (const BestPath::Word &word : besides) {
        for (qsizetype f = qMax(0, word.start); f <= word.end && f < frames.size(); ++f)
            frames[f] = false;
    }
    return frames;
}
