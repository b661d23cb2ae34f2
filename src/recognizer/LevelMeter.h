#pragma once

#include <QList>

// The input level: the RMS amplitude of the last 50 ms of 16-bit samples, as a whole number, once
// every 50 ms of sound (about 20 times a second).
class LevelMeter
{
public:
    static constexpr int WindowSamples = 800; // 50 ms at 16 kHz

    // Adds samples; appends a level for every window completed on the way.
    void add(const qint16 *samples, int count, QList<int> *levels);
    static int rms(const qint16 *samples, int count);

private:
    qint16 m_window[WindowSamples] = {};
    int m_filled = 0;
};
