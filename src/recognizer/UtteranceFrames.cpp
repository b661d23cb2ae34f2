#include "UtteranceFrames.h"

#include "SpeechDetector.h"

#include <algorithm>

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

QList<bool> UtteranceFrames::toCover(double rangeDb, const QList<BestPath::Word> &besides) const
{
    QList<bool> frames =
        rangeDb <= 0 ? m_speech : SpeechDetector::nearLoudest(m_speech, m_levels, rangeDb);
    // Speech beside the phrase is not the phrase's to cover.
    for (const BestPath::Word &word : besides) {
        for (qsizetype f = qMax(0, word.start); f <= word.end && f < frames.size(); ++f)
            frames[f] = false;
    }
    return frames;
}
