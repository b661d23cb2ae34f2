#pragma once

#include <QtGlobal>
#include <memory>

namespace webrtc {
class AudioProcessing;
struct AudioFrame;
} // namespace webrtc

// Takes steady noise (a fan, a computer, traffic) out of the sound before the recognizer listens
// to it, 10 ms at a time, in a 16 kHz stream of 16-bit samples: the noise suppressor of WebRTC's
// audio processing module (moderate by default), after a high-pass filter that removes hum.
//
// Chosen over libspeexdsp's preprocessor with bench/recognition: speex learns the noise from
// nothing over the first second or so, and the louder noise it lets through meanwhile is taken
// for speech; WebRTC estimates it from the first frames and keeps more commands at low
// signal-to-noise ratios.
class NoiseSuppressor
{
public:
    static constexpr qsizetype FrameSamples = 160;
    // How much is taken out; the library's four settings.
    enum class Level
    {
        Low,
        Moderate,
        High,
        VeryHigh
    };

    explicit NoiseSuppressor(Level level = Level::Moderate);
    ~NoiseSuppressor();
    NoiseSuppressor(const NoiseSuppressor &) = delete;
    NoiseSuppressor &operator=(const NoiseSuppressor &) = delete;

    // Cleans a frame of FrameSamples samples in place.
    void process(qint16 *frame);
    // A new stream: the noise is learnt anew.
    void reset();

private:
    std::unique_ptr<webrtc::AudioProcessing> m_processing;
    std::unique_ptr<webrtc::AudioFrame> m_frame;
    Level m_level;
};
