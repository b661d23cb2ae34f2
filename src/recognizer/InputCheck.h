#pragma once

#include "Recognizer.h"

// Watches the microphone's samples for what the user can fix at the microphone: an input that
// hears almost nothing for a few seconds (muted, volume at zero, the wrong source) and one that
// is clipped (volume too high). A clipping is reported at once and stays reported for a few
// seconds after the last one, so that it can be read.
class InputCheck
{
public:
    using Condition = Recognizer::InputCondition;

    static constexpr int SampleRate = 16000;
    static constexpr int WindowSamples = SampleRate / 20; // judged in 50 ms steps
    // How long nearly nothing must be heard before the input counts as too quiet, and how long
    // a clipping stays reported.
    static constexpr int HoldMs = 3000;
    // Peaks below this (about -60 dB of full scale) are nearly nothing: a live microphone in a
    // quiet room gives more.
    static constexpr int QuietPeak = 32;
    // A 50 ms step with this many samples at the limits of 16 bits is clipped; a single such
    // sample can be an honest peak.
    static constexpr int ClippedSamples = 3;

    // Adds samples; true when the condition changed on the way.
    bool add(const qint16 *samples, int count);
    Condition condition() const { return m_condition; }
    void reset();

private:
    void endWindow();

    Condition m_condition = Condition::Normal;
    int m_filled = 0;
    int m_peak = 0;
    int m_clipped = 0;
    int m_quietWindows = 0;
    // Steps since the last clipped one; a large number when there was none.
    int m_sinceClipped = 1 << 20;
};
