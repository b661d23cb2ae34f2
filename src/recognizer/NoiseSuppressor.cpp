#include "NoiseSuppressor.h"

#include <QLoggingCategory>
#include <algorithm>

#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

Q_DECLARE_LOGGING_CATEGORY(lcSpeech)

namespace {

constexpr int kSampleRate = 16000;

} // namespace

NoiseSuppressor::NoiseSuppressor(Level level)
    : m_frame(std::make_unique<webrtc::AudioFrame>()), m_level(level)
{
    reset();
}

NoiseSuppressor::~NoiseSuppressor() = default;

void NoiseSuppressor::process(qint16 *frame)
{
    m_frame->UpdateFrame(0, 0, frame, FrameSamples, kSampleRate, webrtc::AudioFrame::kNormalSpeech,
                         webrtc::AudioFrame::kVadUnknown, 1);
    if (m_processing->ProcessStream(m_frame.get()) != webrtc::AudioProcessing::kNoError) {
        // The frame goes on as it came: noisy sound is still better than none.
        qCDebug(lcSpeech) << "noise suppression refused a frame";
        return;
    }
    std::copy(m_frame->data_, m_frame->data_ + FrameSamples, frame);
}

void NoiseSuppressor::reset()
{
    m_processing.reset(webrtc::AudioProcessing::Create());
    m_processing->high_pass_filter()->Enable(true);
    static constexpr webrtc::NoiseSuppression::Level kLevels[] = {
        webrtc::NoiseSuppression::kLow, webrtc::NoiseSuppression::kModerate,
        webrtc::NoiseSuppression::kHigh, webrtc::NoiseSuppression::kVeryHigh};
    m_processing->noise_suppression()->set_level(kLevels[int(m_level)]);
    m_processing->noise_suppression()->Enable(true);
    m_processing->Initialize(kSampleRate, kSampleRate, kSampleRate, webrtc::AudioProcessing::kMono,
                             webrtc::AudioProcessing::kMono, webrtc::AudioProcessing::kMono);
}
