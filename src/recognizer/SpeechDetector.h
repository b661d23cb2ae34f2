#pragma once

#include <QtGlobal>

// Tells speech from background, 10 ms frame by frame, in a 16 kHz stream of 16-bit samples.
//
// Speech is sound well above the background, and the background is tracked by its quietest
// frames: the floor drops at once to a quieter frame and creeps up, fast while nobody speaks,
// slowly during speech, so that a long sentence does not lift it to its own level.
class SpeechDetector
{
public:
    static constexpr qsizetype FrameSamples = 160;
    // Frames of speech in a row that make the start of speech: a click or a knock is shorter.
    static constexpr int StartFrames = 3;

    // Takes the next frame of FrameSamples samples; true when it is speech.
    bool addFrame(const qint16 *frame);
    // The last StartFrames frames were all speech: the speech began StartFrames - 1 frames before
    // the last one.
    bool speechStarted() const { return m_speechRun >= StartFrames; }
    // The background level in dB (see levelDb); negative before the first frame.
    double floorDb() const { return m_floorDb; }

    // Speech is over for whoever listens: a new start needs StartFrames new frames of speech.
    void awaitNewSpeech() { m_speechRun = 0; }
    // A new stream: the background is learnt anew.
    void reset();

    // The frame's energy: 10 log10(mean square + 1), 0 for digital silence, about 90 for a
    // full-scale tone.
    static double levelDb(const qint16 *frame);

private:
    double m_floorDb = -1;
    int m_speechRun = 0;
};
