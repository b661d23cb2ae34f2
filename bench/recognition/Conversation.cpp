#include "Conversation.h"

#include <algorithm>
#include <cmath>

namespace {

QList<qint16> toSamples(const QList<double> &sum, qsizetype count)
{
    QList<qint16> talk(count);
    for (qsizetype i = 0; i < count; ++i)
        talk[i] = qint16(qBound(-32768.0, std::round(sum[i]), 32767.0));
    return talk;
}

} // namespace

Conversation::Conversation(const QList<QList<QList<qint16>>> &voices, quint32 seed)
    : m_voices(voices), m_random(seed)
{
    std::uniform_int_distribution<qsizetype> pick(0, 1 << 20);
    m_at = qsizetype(pick(m_random) % 500) * 16;
}

QList<qint16> Conversation::next(qsizetype samples)
{
    QList<double> sum(samples, 0.0);
    const qsizetype carried = qMin(samples, m_carried.size());
    std::copy(m_carried.cbegin(), m_carried.cbegin() + carried, sum.begin());
    m_carried.remove(0, carried);
    std::uniform_int_distribution<qsizetype> pick(0, 1 << 20);
    std::uniform_int_distribution<int> gapMs(-300, 700);
    while (!m_voices.isEmpty() && m_at < samples) {
        if (m_voices.size() > 1) // the next sentence is another voice's
            m_voice = (m_voice + 1 + pick(m_random) % (m_voices.size() - 1)) % m_voices.size();
        const QList<QList<qint16>> &sentences = m_voices[m_voice];
        if (sentences.isEmpty())
            break;
        const QList<qint16> &sentence = sentences[pick(m_random) % sentences.size()];
        add(sentence, &sum);
        m_at = qMax(qsizetype(0), m_at + sentence.size() + qsizetype(gapMs(m_random)) * 16);
    }
    m_at = qMax(qsizetype(0), m_at - samples);
    return toSamples(sum, samples);
}

QList<qint16> Conversation::rest()
{
    const QList<qint16> talk = toSamples(m_carried, m_carried.size());
    m_carried.clear();
    return talk;
}

void Conversation::add(const QList<qint16> &sentence, QList<double> *sum)
{
    const qsizetype samples = sum->size();
    const qsizetype past = m_at + sentence.size() - samples;
    if (past > m_carried.size())
        m_carried.resize(past, 0.0);
    for (qsizetype i = 0; i < sentence.size(); ++i) {
        const qsizetype at = m_at + i;
        if (at < samples)
            (*sum)[at] += sentence[i];
        else
            m_carried[at - samples] += sentence[i];
    }
}
