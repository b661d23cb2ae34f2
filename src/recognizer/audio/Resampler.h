#pragma once

#include <QList>
#include <memory>
#include <vector>

struct SpeexResamplerState_;

// Mono sound in [-1, 1] at any rate to 16 kHz 16-bit, a piece at a time: what comes out does not
// depend on how the sound is cut into pieces. Other rates go through libspeexdsp's resampler, the
// one PulseAudio converts a microphone's sound with, so that a file is heard as the same sound
// from the microphone would be: what lies above 8 kHz is filtered out instead of folding back
// into the band the acoustic model listens to.
class Resampler
{
public:
    static constexpr int TargetRate = 16000;

    explicit Resampler(int rate);
    ~Resampler();
    Resampler(const Resampler &) = delete;
    Resampler &operator=(const Resampler &) = delete;

    // More sound: the samples it completes are appended to out.
    void push(const float *mono, qsizetype count, QList<qint16> *out);
    // The sound ends: the last samples are appended to out.
    void finish(QList<qint16> *out);

private:
    void convert(const float *in, qsizetype count, QList<qint16> *out);
    void append(const float *samples, qsizetype count, QList<qint16> *out);

    struct Release
    {
        void operator()(SpeexResamplerState_ *state) const;
    };
    // None at 16 kHz.
    std::unique_ptr<SpeexResamplerState_, Release> m_state;
    int m_rate;
    qint64 m_inputs = 0;
    qint64 m_outputs = 0;
    std::vector<float> m_buffer;
};
