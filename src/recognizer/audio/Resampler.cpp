#include "Resampler.h"

#include <QtGlobal>
#include <cmath>
#include <speex/speex_resampler.h>

namespace {
// A file is not heard in real time, so the filter may be sharper than the sound server's own
// (its default is quality 1): at quality 5 a tone between 8 kHz and the file's own limit comes
// out as 16-bit silence, and one at 7 kHz 0.2 dB down.
constexpr int kQuality = SPEEX_RESAMPLER_QUALITY_DESKTOP;
} // namespace

void Resampler::Release::operator()(SpeexResamplerState_ *state) const
{
    speex_resampler_destroy(state);
}

Resampler::Resampler(int rate) : m_rate(rate)
{
    if (rate == TargetRate)
        return;
    int error = RESAMPLER_ERR_SUCCESS;
    m_state.reset(speex_resampler_init(1, spx_uint32_t(rate), TargetRate, kQuality, &error));
    // Only an impossible rate fails here, and the header check has refused those already.
    Q_ASSERT(m_state && error == RESAMPLER_ERR_SUCCESS);
    // Without this the output would start with the filter's delay in zeros.
    speex_resampler_skip_zeros(m_state.get());
}

Resampler::~Resampler() = default;

void Resampler::push(const float *mono, qsizetype count, QList<qint16> *out)
{
    m_inputs += count;
    if (!m_state) {
        append(mono, count, out);
        return;
    }
    convert(mono, count, out);
}

void Resampler::finish(QList<qint16> *out)
{
    if (!m_state)
        return;
    // The filter still holds the end of the sound: silence after it brings it out. The output
    // then lasts as long as the input, rounded up.
    const qint64 wanted = qint64(std::ceil(double(m_inputs) * TargetRate / m_rate));
    const std::vector<float> silence(size_t(speex_resampler_get_input_latency(m_state.get())) + 1,
                                     0.0f);
    while (m_outputs < wanted)
        convert(silence.data(), qsizetype(silence.size()), out);
    out->resize(out->size() - (m_outputs - wanted));
    m_outputs = wanted;
}

void Resampler::convert(const float *in, qsizetype count, QList<qint16> *out)
{
    m_buffer.resize(size_t(count) * TargetRate / size_t(m_rate) + 16);
    while (count > 0) {
        spx_uint32_t taken = spx_uint32_t(count);
        spx_uint32_t made = spx_uint32_t(m_buffer.size());
        speex_resampler_process_float(m_state.get(), 0, in, &taken, m_buffer.data(), &made);
        append(m_buffer.data(), qsizetype(made), out);
        in += taken;
        count -= qsizetype(taken);
    }
}

void Resampler::append(const float *samples, qsizetype count, QList<qint16> *out)
{
    out->reserve(out->size() + count);
    for (qsizetype i = 0; i < count; ++i) {
        const double v = std::round(double(samples[i]) * 32768.0);
        out->append(qint16(qBound(-32768.0, v, 32767.0)));
    }
    m_outputs += count;
}
