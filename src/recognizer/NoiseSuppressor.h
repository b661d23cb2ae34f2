#pragma once

#include <QtGlobal>
#include <memory>

// Takes steady noise (a fan, a computer, traffic) out of the sound before the recognizer listens
// to it, 10 ms at a time, in a 16 kHz stream of 16-bit samples.
class NoiseSuppressor
{
public:
    static constexpr qsizetype FrameSamples = 160;

    enum class Kind
    {
        None,
        Speex,  // libspeexdsp's preprocessor
        WebRtc, // the audio processing module of WebRTC
    };

    static std::unique_ptr<NoiseSuppressor> create(Kind kind);
    virtual ~NoiseSuppressor() = default;

    // Cleans a frame of FrameSamples samples in place.
    virtual void process(qint16 *frame) = 0;
    // A new stream: the noise is learnt anew.
    virtual void reset() = 0;
};
