#include "BackgroundTalk.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// Each voice is brought to this speech level before the voices are added up.
constexpr double kVoiceRms = 2000;

// The voices take turns, a sentence at a time, as people talk on television: mostly one
// after another with a pause, now and then one starting before the other has finished.
void addConversation(const QList<QList<QList<qint16>>> &voices, quint32 seed, QList<double> *sum)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> gapMs(-300, 700);
    std::uniform_int_distribution<qsizetype> pick(0, 1 << 20);
    qsizetype at = qsizetype(pick(random) % 500) * 16;
    qsizetype voice = 0;
    while (at < sum->size()) {
        if (voices.size() > 1) // the next sentence is another voice's
            voice = (voice + 1 + pick(random) % (voices.size() - 1)) % voices.size();
        const QList<qint16> &sentence = voices[voice][pick(random) % voices[voice].size()];
        for (qsizetype i = 0; i < sentence.size() && at + i < sum->size(); ++i)
            (*sum)[at + i] += sentence[i];
        at = qMax(qsizetype(0), at + sentence.size() + qsizetype(gapMs(random)) * 16);
    }
}

} // namespace

BackgroundTalk::BackgroundTalk(const Corpus::Set &set, const QString &workDir)
    : m_set(set), m_workDir(workDir)
{}

bool BackgroundTalk::prepare(QString *error)
{
    m_sentences.clear();
    for (const Corpus::Voice &voice : m_set.talkVoices) {
        QList<QList<qint16>> sentences;
        for (const QString &text : m_set.talkTexts) {
            QList<qint16> sentence = Corpus::synthesize(voice, text, m_workDir, error);
            if (sentence.isEmpty())
                return false;
            const double gain = kVoiceRms / qMax(1.0, Corpus::speechRms(sentence));
            for (qint16 &s : sentence)
                s = qint16(qBound(-32768.0, std::round(s * gain), 32767.0));
            sentences.append(sentence);
        }
        m_sentences.append(sentences);
    }
    return true;
}

QList<qint16> BackgroundTalk::stretch(double seconds, int number) const
{
    QList<double> sum(qsizetype(seconds * 16000), 0.0);
    addConversation(m_sentences, m_set.firstSeed + 7919 * quint32(number + 1), &sum);
    QList<qint16> talk(sum.size());
    for (qsizetype i = 0; i < sum.size(); ++i)
        talk[i] = qint16(qBound(-32768.0, std::round(sum[i]), 32767.0));
    return talk;
}
