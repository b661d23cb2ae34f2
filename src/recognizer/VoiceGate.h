#pragma once

#include <QtGlobal>

// Refuses speech that is much quieter than the user's own voice: talk from a television or from
// people across the room reaches the microphone quieter than the user who speaks into it.
//
// The user's level is the full scale of the level meter, which the user sets in the sound meter
// window so that their voice fills the bar. Levels are on the meter's scale: the RMS amplitude
// of 50 ms of 16-bit samples.
class VoiceGate
{
public:
    static constexpr qsizetype FrameSamples = 160;

    // 0: the user's level is unknown and every utterance passes.
    void setVoiceLevel(int level) { m_voiceLevel = level; }
    int voiceLevel() const { return m_voiceLevel; }
    // How far below the user's level an utterance's loudest moment may stay and still pass.
    void setMarginDb(double db) { m_marginDb = db; }

    // Takes the next 10 ms of sound as the microphone delivered it.
    void addFrame(const qint16 *frame);
    // An utterance starts with the frame just added: its loudest moment is measured from there.
    void startUtterance() { m_peak = level(); }
    // The loudest 50 ms of the utterance so far.
    double utterancePeak() const { return m_peak; }
    // How far the utterance's loudest moment lies below the user's level, in dB (negative when
    // louder); 0 when the user's level is unknown.
    double belowVoiceDb() const;
    bool passes() const { return belowVoiceDb() <= m_marginDb; }
    // Whether the last 50 ms alone would pass; true when the user's level is unknown.
    bool isNearVoice() const;
    // A new stream.
    void reset();

private:
    static constexpr int WindowFrames = 5; // 50 ms, as the level meter
    double level() const;

    int m_voiceLevel = 0;
    double m_marginDb = 10;
    double m_frameEnergy[WindowFrames] = {};
    int m_next = 0;
    double m_peak = 0;
};
