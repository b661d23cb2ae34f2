#pragma once

#include "UtteranceFrames.h"

#include <QtGlobal>
#include <optional>

// A command said over quieter talk, as a television's, stands out by its level: the part of an
// utterance around its loudest moment, when the speech beside it stays well below that moment.
// Decoded on its own, the command need not be found inside the talk; and the utterance can end
// soon after it, while the talk goes on. Frames count from the utterance's first (those of
// UtteranceFrames).
class LoudPart
{
public:
    struct Range
    {
        qsizetype first = 0;
        qsizetype last = -1;
    };

    // apartDb: how far below the loud part's loudest frame the speech beside it stays (0: no
    // loud part is looked for); endMs: how long after the loud part, with speech going on, the
    // utterance ends (0: only at a pause).
    LoudPart(double apartDb, int endMs);

    // The loud part of the frames, widened by a margin for the quieter sounds at its edges.
    std::optional<Range> find(const UtteranceFrames &frames) const;
    // Before the utterance's next frame, which will be frames' frame number first.
    void startUtterance(qsizetype first);
    // After each of the utterance's frames was added: true when its loud part ended endMs ago
    // and speech has gone on beside it since, so the utterance can end now.
    bool isOver(const UtteranceFrames &frames);

private:
    double m_apartDb;
    qsizetype m_endFrames;
    double m_peakDb = 0;
    qsizetype m_lastLoud = 0;
};
