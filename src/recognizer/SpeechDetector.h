#pragma once

#include <QList>
#include <QtGlobal>

// Tells speech from background, 10 ms frame by frame, in a 16 kHz stream of 16-bit samples.
//
// Speech is sound well above the background, and the background is tracked by its quietest
// frames: the floor drops at once to a quieter frame and creeps up, fast while nobody speaks,
// slowly during speech, so that a long sentence does not lift it to its own level. Sound that
// never falls back to the floor for a second or two is a new background (a fan switched on).
//
// Digital silence (exact zeros, as a muted microphone, a noise gate or the start of a stream
// delivers) says nothing about the room: it is never speech and the floor does not learn from
// it. Sound after it is measured against a quiet room until the room has been heard.
class SpeechDetector
{
public:
    static constexpr qsizetype FrameSamples = 160;
    // Frames of speech in a row that make the start of speech: a click or a knock is shorter.
    static constexpr int StartFrames = 3;

    // The level of the user's voice (see levelDb) and how far below it a frame still counts as
    // theirs; 0: unknown, every level counts.
    void setVoiceLevel(double db, double nearDb)
    {
        m_voiceDb = db;
        m_nearVoiceDb = nearDb;
    }

    // Off: zeros count as a very quiet room, as any other sound.
    void setDigitalSilenceHandled(bool handled) { m_handleDigitalSilence = handled; }

    // Takes the next frame of FrameSamples samples; true when it is speech.
    bool addFrame(const qint16 *frame);
    // The last StartFrames frames were all speech: the speech began StartFrames - 1 frames before
    // the last one.
    bool speechStarted() const { return m_speechRun >= StartFrames; }
    // The background level in dB (see levelDb); negative until a frame of sound was heard.
    double floorDb() const { return m_floorDb; }

    // Speech is over for whoever listens: a new start needs StartFrames new frames of speech.
    void awaitNewSpeech() { m_speechRun = 0; }
    // A new stream: the background is learnt anew.
    void reset();

    // The frame's energy: 10 log10(mean square + 1), 0 for digital silence, about 90 for a
    // full-scale tone.
    static double levelDb(const qint16 *frame);
    // Whether a frame of that level is digital silence: zeros, or the last bit flickering.
    static bool isDigitalSilence(double db);

private:
    void trackQuietest(double db);

    bool m_handleDigitalSilence = true;
    double m_voiceDb = 0;
    double m_nearVoiceDb = 0;
    double m_floorDb = -1;
    int m_speechRun = 0;
    bool m_afterDigitalSilence = false;
    // The quietest frame of the block of frames being heard and of the block before it.
    double m_blockMinDb = 0;
    double m_lastBlockMinDb = -1;
    int m_blockFrames = 0;
    // Zeros came after sound: the block they fall in has a frame of silence.
    bool m_zerosAfterSound = false;
};
