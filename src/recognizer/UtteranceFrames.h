#pragma once

#include "BestPath.h"

#include <QList>

// What the engine knows of each 10 ms frame of an utterance, and of the moments before it that
// the decoder gets too: whether the speech detector heard speech in it, and its level
// (SpeechDetector::levelDb) after noise suppression. Frames count from the decoder's first.
class UtteranceFrames
{
public:
    void add(bool speech, double levelDb);
    // Keeps the last count frames only: the moments before an utterance.
    void keepLast(qsizetype count);
    void clear();

    qsizetype size() const { return m_speech.size(); }
    bool isSpeech(qsizetype frame) const { return m_speech[frame]; }
    double level(qsizetype frame) const { return m_levels[frame]; }
    qsizetype speechCount() const;
    const QList<bool> &speechFlags() const { return m_speech; }
    // The frames from first to last, counted from 0 again.
    UtteranceFrames part(qsizetype first, qsizetype last) const;
    // The loudest frame inside the words, in dB; 0 without frames.
    double loudestIn(const QList<BestPath::Word> &words) const;
    // How far the quietest of the words stays below the loudest, by their loudest frames, in dB;
    // 0 without words.
    double quietestWordBelowDb(const QList<BestPath::Word> &words) const;
    // Frames of speech per phone in the slowest of the words; 0 without words of known phones.
    // A phrase stretched over a longer sentence has words far slower than anyone speaks; the
    // silence a word takes in (the pause after a phrase's last word) does not make it slow.
    double slowestSpeechPace(const QList<BestPath::Word> &words) const;
    // The frames of speech that a phrase's words should cover: those inside the words, and those
    // outside them at quietestDb or louder, but none inside the words beside the phrase.
    QList<bool> toCover(const QList<BestPath::Word> &words, double quietestDb,
                        const QList<BestPath::Word> &besides) const;

private:
    QList<bool> m_speech;
    QList<double> m_levels;
};
