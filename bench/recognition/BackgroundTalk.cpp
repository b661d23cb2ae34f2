#include "BackgroundTalk.h"

#include <cmath>

namespace {

// Each voice is brought to this speech level before the voices are added up.
constexpr double kVoiceRms = 2000;

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

Conversation BackgroundTalk::conversation(int number) const
{
    return Conversation(m_sentences, m_set.firstSeed + 7919 * quint32(number + 1));
}

QList<qint16> BackgroundTalk::stretch(double seconds, int number) const
{
    return conversation(number).next(qsizetype(seconds * 16000));
}
