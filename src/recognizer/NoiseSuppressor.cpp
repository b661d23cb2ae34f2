#include "NoiseSuppressor.h"

#include <speex/speex_preprocess.h>

#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

namespace {

class NoSuppression : public NoiseSuppressor
{
public:
    void process(qint16 *) override {}
    void reset() override {}
};

class SpeexSuppressor : public NoiseSuppressor
{
public:
    SpeexSuppressor() { reset(); }
    ~SpeexSuppressor() override { speex_preprocess_state_destroy(m_state); }

    void process(qint16 *frame) override { speex_preprocess_run(m_state, frame); }
    void reset() override
    {
        if (m_state)
            speex_preprocess_state_destroy(m_state);
        m_state = speex_preprocess_state_init(int(FrameSamples), 16000);
        int on = 1;
        int off = 0;
        int suppressDb = qEnvironmentVariableIntValue("JEV_SPEEX_DB");
        if (suppressDb == 0)
            suppressDb = -15;
        speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_DENOISE, &on);
        speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_NOISE_SUPPRESS, &suppressDb);
        speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_AGC, &off);
        speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_VAD, &off);
        speex_preprocess_ctl(m_state, SPEEX_PREPROCESS_SET_DEREVERB, &off);
    }

private:
    SpeexPreprocessState *m_state = nullptr;
};

class WebRtcSuppressor : public NoiseSuppressor
{
public:
    WebRtcSuppressor() { reset(); }

    void process(qint16 *frame) override
    {
        m_frame.UpdateFrame(0, 0, frame, FrameSamples, 16000, webrtc::AudioFrame::kNormalSpeech,
                            webrtc::AudioFrame::kVadUnknown, 1);
        m_apm->ProcessStream(&m_frame);
        std::copy(m_frame.data_, m_frame.data_ + FrameSamples, frame);
    }
    void reset() override
    {
        m_apm.reset(webrtc::AudioProcessing::Create());
        m_apm->high_pass_filter()->Enable(true);
        const int level = qEnvironmentVariableIntValue("JEV_WEBRTC_LEVEL");
        m_apm->noise_suppression()->set_level(webrtc::NoiseSuppression::Level(level));
        m_apm->noise_suppression()->Enable(true);
        m_apm->Initialize(16000, 16000, 16000, webrtc::AudioProcessing::kMono,
                          webrtc::AudioProcessing::kMono, webrtc::AudioProcessing::kMono);
    }

private:
    std::unique_ptr<webrtc::AudioProcessing> m_apm;
    webrtc::AudioFrame m_frame;
};

} // namespace

std::unique_ptr<NoiseSuppressor> NoiseSuppressor::create(Kind kind)
{
    switch (kind) {
    case Kind::Speex:
        return std::make_unique<SpeexSuppressor>();
    case Kind::WebRtc:
        return std::make_unique<WebRtcSuppressor>();
    case Kind::None:
        break;
    }
    return std::make_unique<NoSuppression>();
}
