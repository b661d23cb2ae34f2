#include "BestPath.h"

#include "PhraseSearch.h"
#include "SphinxDictionary.h"

#include <QRegularExpression>

#include <pocketsphinx.h>

QString BestPath::key() const
{
    int32 score = 0;
    const char *hyp = ps_get_hyp(m_ps, &score);
    static const QRegularExpression alternative(QStringLiteral("\\(\\d+\\)"));
    return hyp ? QString::fromUtf8(hyp).remove(alternative) : QString();
}

QList<BestPath::Word> BestPath::words() const
{
    QList<Word> words;
    const SphinxDictionary dictionary(m_ps);
    int firstStart = -1;
    for (ps_seg_t *seg = ps_seg_iter(m_ps); seg; seg = ps_seg_next(seg)) {
        int start = 0;
        int end = 0;
        ps_seg_frames(seg, &start, &end);
        // Frame numbers run on over utterances; the path's first segment is the utterance's
        // first frame.
        if (firstStart < 0)
            firstStart = start;
        const char *word = ps_seg_word(seg);
        if (word[0] == '<' || word[0] == '+') // silence and fillers are no words
            continue;
        const int phones =
            int(dictionary.phones(word).split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
        words.append({start - firstStart, end - firstStart, phones,
                      PhraseSearch::isPhoneLoop(QString::fromUtf8(word))});
    }
    return words;
}

double BestPath::coverage(const QList<Word> &words, const QList<bool> &speechFrames)
{
    QList<bool> inWord(speechFrames.size(), false);
    for (const Word &word : words) {
        for (qsizetype f = qMax(0, word.start); f <= word.end && f < inWord.size(); ++f)
            inWord[f] = true;
    }
    qsizetype speech = 0;
    qsizetype covered = 0;
    for (qsizetype f = 0; f < speechFrames.size(); ++f) {
        if (speechFrames[f]) {
            ++speech;
            covered += inWord[f] ? 1 : 0;
        }
    }
    return speech ? double(covered) / double(speech) : 0;
}
