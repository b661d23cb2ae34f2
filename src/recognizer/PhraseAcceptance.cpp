#include "PhraseAcceptance.h"

#include "Sensitivity.h"
#include "SphinxEngine.h"
#include "UtteranceFrames.h"

PhraseAcceptance::PhraseAcceptance(const SpeechEngineOptions &options)
    : m_minCoverage(
          options.minCoverage.value_or(Sensitivity::coverageThreshold(options.sensitivity))),
      m_maxFramesPerPhone(
          options.maxFramesPerPhone.value_or(Sensitivity::maxFramesPerPhone(options.sensitivity))),
      m_wordMarginDb(options.wordMarginDb.value_or(Sensitivity::wordMarginDb(options.sensitivity))),
      m_asideMarginDb(
          options.asideMarginDb.value_or(Sensitivity::asideMarginDb(options.sensitivity))),
      m_coverQuietSpeech(options.coverQuietSpeech)
{}

bool PhraseAcceptance::accepts(const QList<BestPath::Word> &words, const UtteranceFrames &frames,
                               Figures *figures) const
{
    QList<BestPath::Word> phrase;
    QList<BestPath::Word> besides;
    for (const BestPath::Word &word : words)
        (word.phoneLoop ? besides : phrase).append(word);
    const double loudest = frames.loudestIn(phrase);
    const double quietestDb = m_coverQuietSpeech ? 0 : loudest - m_asideMarginDb;
    figures->coverage = BestPath::coverage(phrase, frames.toCover(phrase, quietestDb, besides));
    figures->pace = frames.slowestSpeechPace(phrase);
    figures->aside = !besides.isEmpty();
    figures->asideDb = figures->aside ? loudest - frames.loudestIn(besides) : 0;
    return figures->coverage >= m_minCoverage &&
           frames.quietestWordBelowDb(phrase) <= m_wordMarginDb &&
           (m_maxFramesPerPhone <= 0 || figures->pace <= m_maxFramesPerPhone) &&
           (!figures->aside || figures->asideDb >= m_asideMarginDb);
}
