#include "CepstralMean.h"

#include <algorithm>

#include <pocketsphinx.h>
#include <sphinxbase/cmn.h>

namespace {

// Frames of speech in an utterance from which the mean is learnt: a click or a cough tells
// little of the voice.
constexpr qsizetype kMinLearningFrames = 30;

} // namespace

static_assert(std::is_same_v<mfcc_t, float>, "the cepstral mean is kept as float");

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
    keepPassStart();
}

bool CepstralMean::endUtterance(const QList<qint16> &utterance, qsizetype speechFrames)
{
    if (m_reset || m_learnt || speechFrames < kMinLearningFrames)
        return false;
    keepPassStart();
    if (ps_start_utt(m_ps) != 0)
        return false;
    m_learnt = true;
    ps_process_raw(m_ps, utterance.constData(), size_t(utterance.size()), FALSE, FALSE);
    ps_end_utt(m_ps);
    return true;
}

void CepstralMean::keepPassStart()
{
    const cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
    m_passMean.assign(cmn->cmn_mean, cmn->cmn_mean + cmn->veclen);
    m_passSum.assign(cmn->sum, cmn->sum + cmn->veclen);
    m_passFrames = cmn->nframe;
}

void CepstralMean::rewind()
{
    cmn_t *cmn = ps_get_feat(m_ps)->cmn_struct;
    std::copy(m_passMean.cbegin(), m_passMean.cend(), cmn->cmn_mean);
    std::copy(m_passSum.cbegin(), m_passSum.cend(), cmn->sum);
    cmn->nframe = m_passFrames;
}
