#include "CepstralMean.h"

#include <QLoggingCategory>
#include <algorithm>

#include <pocketsphinx.h>
#include <sphinxbase/cmn.h>
#include <sphinxbase/fe.h>

namespace {

// Frames of speech in an utterance from which the mean is learnt: a click or a cough tells
// little of the voice.
constexpr qsizetype kMinLearningFrames = 30;
// The decoder's frames: 10 ms at 16 kHz.
constexpr qsizetype kFrameShift = 160;

} // namespace

Q_DECLARE_LOGGING_CATEGORY(lcSpeech)

static_assert(std::is_same_v<mfcc_t, float>, "the cepstral mean is kept as float");

CepstralMean::~CepstralMean()
{
    if (m_frontEnd)
        fe_free(m_frontEnd);
}

void CepstralMean::open(ps_decoder_s *ps, bool reset)
{
    m_ps = ps;
    m_reset = reset;
    feat_t *feat = ps_get_feat(ps);
    m_modelMean.resize(feat_cepsize(feat));
    cmn_live_get(feat->cmn_struct, m_modelMean.data());
}

void CepstralMean::startUtterance()
{
    // Measured with bench/recognition, a mean that goes on from the utterances before beats
    // the model's mean for each utterance in every condition.
    cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
    if (m_reset) {
        cmn_live_set(cmn, m_modelMean.data());
    } else if (!m_learnt) {
        // Decoded with the model's mean, while the utterance's own mean is summed up alone.
        std::fill(cmn->sum, cmn->sum + cmn->veclen, 0.0f);
        cmn->nframe = 0;
    }
    m_pass = snapshot();
    m_start = m_pass;
}

void CepstralMean::endPass()
{
    ps_end_utt(m_ps);
    // Where the library has made the mean anew itself, this changes nothing: the mean is
    // already its sums' average, and the sums have already shrunk to their window.
    cmn_live_update(ps_get_feat(m_ps)->cmn_struct);
}

bool CepstralMean::endUtterance(const QList<qint16> &utterance, qsizetype speechFrames)
{
    if (m_reset || m_learnt || speechFrames < kMinLearningFrames)
        return false;
    m_pass = snapshot();
    if (ps_start_utt(m_ps) != 0)
        return false;
    m_learnt = true;
    ps_process_raw(m_ps, utterance.constData(), size_t(utterance.size()), FALSE, FALSE);
    endPass();
    return true;
}

void CepstralMean::rewind()
{
    putSums(m_pass);
}

void CepstralMean::learn(const QList<qint16> &utterance, const QList<bool> &speechFrames)
{
    if (m_reset)
        return;
    if (!m_frontEnd) // the decoder's own settings, so that its frames and these are the same
        m_frontEnd = fe_init_auto_r(ps_get_config(m_ps));
    if (!m_frontEnd) {
        // The mean goes on as the decoder leaves it.
        qCDebug(lcSpeech) << "no front end to learn the cepstral mean's colour with";
        return;
    }
    const std::vector<std::vector<float>> frames = cepstra(utterance);
    cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
    std::vector<double> sum(m_start.sum.cbegin(), m_start.sum.cend());
    int learnt = 0;
    for (size_t f = 0; f < frames.size() && qsizetype(f) < speechFrames.size(); ++f) {
        if (!speechFrames[qsizetype(f)])
            continue;
        ++learnt;
        for (int i = 0; i < cmn->veclen; ++i)
            sum[i] += frames[f][i];
    }
    if (learnt < kMinLearningFrames) {
        putSums(m_start);
        return;
    }
    // The level is the decoder's; as the decoder does, the sums shrink to a window once they
    // hold many frames, so that the mean follows a user who moves.
    const float level = cmn->cmn_mean[0];
    const int count = m_start.frames + learnt;
    const double scale = count >= CMN_WIN_HWM ? double(CMN_WIN) / count : 1.0;
    cmn->nframe = count >= CMN_WIN_HWM ? CMN_WIN : count;
    for (int i = 0; i < cmn->veclen; ++i) {
        cmn->cmn_mean[i] = i == 0 ? level : float(sum[i] / count);
        cmn->sum[i] = i == 0 ? level * cmn->nframe : float(sum[i] * scale);
    }
}

std::vector<std::vector<float>> CepstralMean::cepstra(const QList<qint16> &utterance)
{
    const int size = fe_get_output_size(m_frontEnd);
    // The last frame comes from the samples left over, padded.
    const qsizetype capacity = utterance.size() / kFrameShift + 1;
    std::vector<std::vector<float>> frames(static_cast<size_t>(capacity),
                                           std::vector<float>(static_cast<size_t>(size)));
    std::vector<float *> rows;
    for (std::vector<float> &frame : frames)
        rows.push_back(frame.data());
    fe_start_utt(m_frontEnd);
    const qint16 *samples = utterance.constData();
    size_t left = size_t(utterance.size());
    int32 made = int32(capacity);
    int32 first = 0;
    fe_process_frames(m_frontEnd, &samples, &left, rows.data(), &made, &first);
    int32 last = 0;
    if (made < capacity)
        fe_end_utt(m_frontEnd, rows[size_t(made)], &last);
    else
        fe_end_utt(m_frontEnd, nullptr, &last); // no room: the padded frame is dropped
    frames.resize(size_t(made + (made < capacity ? last : 0)));
    return frames;
}

CepstralMean::Snapshot CepstralMean::snapshot() const
{
    if (!m_ps)
        return {};
    const cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
    return {{cmn->cmn_mean, cmn->cmn_mean + cmn->veclen},
            {cmn->sum, cmn->sum + cmn->veclen},
            cmn->nframe,
            m_learnt};
}

void CepstralMean::restore(const Snapshot &snapshot)
{
    if (!m_ps)
        return;
    // A snapshot of another model, or of none, does not fit.
    const size_t size = size_t(ps_get_feat(m_ps)->cmn_struct->veclen);
    if (snapshot.mean.size() != size || snapshot.sum.size() != size)
        return;
    putSums(snapshot);
    m_learnt = snapshot.learnt;
}

void CepstralMean::putSums(const Snapshot &snapshot)
{
    cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
    std::copy(snapshot.mean.cbegin(), snapshot.mean.cend(), cmn->cmn_mean);
    std::copy(snapshot.sum.cbegin(), snapshot.sum.cend(), cmn->sum);
    cmn->nframe = snapshot.frames;
}
