#pragma once

#include <QtGlobal>
#include <optional>

// Where an utterance starts and ends once the user's voice level is known. Speech that has not
// come near the user's voice (see VoiceGate::isNearVoice) starts none: it could not pass the
// voice gate anyway. The utterance starts at the first moment that does, with some of the
// speech before it, and ends once quieter speech has gone on for a while: a command said into a
// television's talk is heard from its own start to its own end, not from the talk's. Positions
// are sample numbers of the stream; frames are 10 ms.
class VoiceBounds
{
public:
    // prerollMs: the moments before the speech detector was sure of speech that an utterance
    // starts with; startWhenLoudMs: the most of the speech before its first moment near the
    // voice (0: an utterance starts with the speech, whatever its level); quietSpeechEndMs: how
    // long quieter speech goes on before the utterance ends (0: only at a pause).
    VoiceBounds(int prerollMs, int startWhenLoudMs, int quietSpeechEndMs);

    // The samples before an utterance to keep while none is going on.
    qsizetype prerollSamples() const { return m_startWithinSamples; }
    // Before an utterance, after each frame that ends at position: whether the speech detector
    // is sure of speech, and whether the frame came near the voice. The utterance's first
    // sample, when it starts now.
    std::optional<qint64> startAt(qint64 position, bool speechStarted, bool nearVoice);
    // After each frame of an utterance: true when it is to end for quieter speech going on.
    bool quietSpeechGoesOn(bool speech, bool nearVoice);
    // A new stream.
    void reset();

private:
    qsizetype m_prerollSamples;
    qsizetype m_startWithinSamples;
    bool m_waitForVoice;
    int m_quietEndFrames;
    // Where the detector was sure of the speech that waits to come near the voice.
    std::optional<qint64> m_speechSure;
    int m_quietFrames = 0;
};
