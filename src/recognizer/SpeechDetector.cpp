#include "SpeechDetector.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Sound this far above the noise floor is speech. Measured with bench/recognition: 9 dB lost 2
// commands over talk 10 dB below them, 15 dB lost 3 in brown noise and 7 in pink noise 5 dB.
constexpr double kSpeechAboveFloorDb = 12;
constexpr double kMinSpeechDb = 30; // RMS 30 of 32768: quieter is silence whatever the floor
// RMS below 2: nothing a microphone in a room delivers.
constexpr double kDigitalSilenceDb = 6;
// The floor assumed for sound after digital silence: a quiet room (RMS 100).
constexpr double kQuietRoomDb = 40;
// The share of the distance to the frame's level that the floor moves by each frame.
constexpr double kFloorRiseInSilence = 0.05;
constexpr double kFloorRiseInSpeech = 0.002;
// Frames in a block of the quietest-frame tracker: the floor rises to sound that has not
// fallen back for one to two blocks.
constexpr int kBlockFrames = 100;

} // namespace

bool SpeechDetector::addFrame(const qint16 *frame)
{
    const double db = levelDb(frame);
    if (m_handleDigitalSilence && isDigitalSilence(db)) {
        m_speechRun = 0;
        m_afterDigitalSilence = true;
        // Sound that stops for zeros has fallen back: it is no new background. Zeros take no
        // time of their own, so that sound after them is heard as without them; at the start of
        // a stream there is no sound before them to mark.
        m_zerosAfterSound = m_floorDb >= 0;
        return false;
    }
    if (m_floorDb < 0)
        m_floorDb = m_afterDigitalSilence ? std::min(db, kQuietRoomDb) : db;
    if (db < m_floorDb)
        m_floorDb = db;
    const bool sound = db > m_floorDb + kSpeechAboveFloorDb && db > kMinSpeechDb;
    // Talk far below the user's voice stands out from the room all the same: it is no floor.
    const bool speech = sound && db > m_voiceDb - m_nearVoiceDb;
    m_floorDb += (db - m_floorDb) * (sound ? kFloorRiseInSpeech : kFloorRiseInSilence);
    trackQuietest(db);
    m_speechRun = speech ? m_speechRun + 1 : 0;
    return speech;
}

void SpeechDetector::trackQuietest(double db)
{
    m_blockMinDb = m_blockFrames == 0 ? db : std::min(m_blockMinDb, db);
    if (std::exchange(m_zerosAfterSound, false))
        m_blockMinDb = 0;
    if (++m_blockFrames < kBlockFrames)
        return;
    // Two whole blocks without a frame as quiet as the floor: that sound is the background.
    if (m_lastBlockMinDb >= 0 && m_floorDb >= 0)
        m_floorDb = std::max(m_floorDb, std::min(m_blockMinDb, m_lastBlockMinDb));
    m_lastBlockMinDb = m_blockMinDb;
    m_blockFrames = 0;
}

void SpeechDetector::reset()
{
    const double voiceDb = m_voiceDb;
    const double nearVoiceDb = m_nearVoiceDb;
    const bool handleDigitalSilence = m_handleDigitalSilence;
    *this = SpeechDetector();
    setVoiceLevel(voiceDb, nearVoiceDb);
    m_handleDigitalSilence = handleDigitalSilence;
}

double SpeechDetector::levelDb(const qint16 *frame)
{
    double sum = 0;
    for (qsizetype i = 0; i < FrameSamples; ++i)
        sum += double(frame[i]) * frame[i];
    return 10 * std::log10(sum / FrameSamples + 1);
}

bool SpeechDetector::isDigitalSilence(double db)
{
    return db < kDigitalSilenceDb;
}
