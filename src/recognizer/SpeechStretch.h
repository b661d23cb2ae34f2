#pragma once

#include <QtGlobal>
#include <optional>

// Utterances that follow each other closely are one stretch of speech, as talk is; a command is
// said on its own, after a pause. Positions are samples of the stream.
class SpeechStretch
{
public:
    // A pause of at least gap samples, from the end of one utterance's speech to the start of the
    // next utterance, separates two stretches. A stretch longer than talk samples is talk.
    SpeechStretch(qint64 gap, qint64 talk) : m_gap(gap), m_talk(talk) {}

    // How an utterance ended: its speech was over (a pause, or quieter talk from then on), or it
    // was cut off at its longest while its speech went on.
    enum class Ending
    {
        Over,
        CutOff
    };

    // An utterance starts at start; true when it goes on with the stretch of the last one. The
    // first utterance of a stream starts a stretch.
    bool startUtterance(qint64 start);
    // The utterance's speech ended at lastVoiced.
    void endUtterance(qint64 lastVoiced, Ending ending = Ending::Over);
    // Whether the utterance last started goes on from one that was cut off: it starts inside
    // speech, where no command begins (a command is said after a pause).
    bool startsInsideSpeech() const { return m_startsInside; }
    // Whether the stretch has lasted longer than talk's mark by sample.
    bool isTalkAt(qint64 sample) const { return sample - m_start > m_talk; }
    // Whether talk was heard less than within samples before sample.
    bool talkHeardWithin(qint64 sample, qint64 within) const
    {
        return m_talkEnd && sample - *m_talkEnd < within;
    }
    // A new stream.
    void reset();

private:
    qint64 m_gap;
    qint64 m_talk;
    qint64 m_start = 0;
    std::optional<qint64> m_end;
    std::optional<qint64> m_talkEnd;
    bool m_cutOff = false;
    bool m_startsInside = false;
};
