#pragma once

#include <QtGlobal>
#include <optional>

// Utterances that follow each other closely are one stretch of speech, as talk is; a command is
// said on its own, after a pause. Positions are samples of the stream.
class SpeechStretch
{
public:
    // A pause of at least gap samples, from the end of one utterance's speech to the start of the
    // next utterance, separates two stretches.
    explicit SpeechStretch(qint64 gap) : m_gap(gap) {}

    // An utterance starts at start; true when it goes on with the stretch of the last one. The
    // first utterance of a stream starts a stretch.
    bool startUtterance(qint64 start);
    // The utterance's speech ended at lastVoiced.
    void endUtterance(qint64 lastVoiced) { m_end = lastVoiced; }
    // How long the stretch has lasted by sample.
    qint64 lengthAt(qint64 sample) const { return sample - m_start; }
    // A new stream.
    void reset();

private:
    qint64 m_gap;
    qint64 m_start = 0;
    std::optional<qint64> m_end;
};
