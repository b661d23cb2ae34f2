#include "SpeechDetector.h"

#include <cmath>

namespace {

constexpr double kSpeechAboveFloorDb = 12;
constexpr double kMinSpeechDb = 30; // RMS 30 of 32768: quieter is silence whatever the floor
// The share of the distance to the frame's level that the floor moves by each frame.
constexpr double kFloorRiseInSilence = 0.05;
constexpr double kFloorRiseInSpeech = 0.002;

} // namespace

bool SpeechDetector::addFrame(const qint16 *frame)
{
    const double db = levelDb(frame);
    if (m_floorDb < 0 || db < m_floorDb)
        m_floorDb = db;
    const bool speech = db > m_floorDb + kSpeechAboveFloorDb && db > kMinSpeechDb;
    m_floorDb += (db - m_floorDb) * (speech ? kFloorRiseInSpeech : kFloorRiseInSilence);
    m_speechRun = speech ? m_speechRun + 1 : 0;
    return speech;
}

void SpeechDetector::reset()
{
    m_floorDb = -1;
    m_speechRun = 0;
}

double SpeechDetector::levelDb(const qint16 *frame)
{
    double sum = 0;
    for (qsizetype i = 0; i < FrameSamples; ++i)
        sum += double(frame[i]) * frame[i];
    return 10 * std::log10(sum / FrameSamples + 1);
}
