#pragma once

#include "BestPath.h"

#include <QList>

struct SpeechEngineOptions;
class UtteranceFrames;

// Whether a phrase of the grammar that the search found was said to the program, by how its
// words lie in the utterance: a few words of a sentence cover too little of its speech, words
// found in quieter talk stay below the rest, a phrase drawn over a longer sentence is far slower
// than anyone speaks, and other speech beside a command must stay well below it. Whether the
// utterance came near the user's voice is the voice gate's to say, not this class's.
class PhraseAcceptance
{
public:
    // What the rules measured of a phrase.
    struct Figures
    {
        // The share of the speech that the phrase's words take up.
        double coverage = 0;
        // Frames of speech per phone of the slowest word: see UtteranceFrames::slowestSpeechPace.
        double pace = 0;
        // How far the speech beside the phrase stays below its loudest frame, in dB; 0 without
        // such speech.
        double asideDb = 0;
        // Whether the phone loop took speech beside the phrase.
        bool aside = false;
    };

    // Unset thresholds come from the options' sensitivity.
    explicit PhraseAcceptance(const SpeechEngineOptions &options);

    // Whether the phrase made of words (those of the phone loop among them: speech beside the
    // phrase) counts; frames: those the words were decoded from. Fills in figures either way.
    bool accepts(const QList<BestPath::Word> &words, const UtteranceFrames &frames,
                 Figures *figures) const;

private:
    double m_minCoverage;
    double m_maxFramesPerPhone;
    double m_wordMarginDb;
    double m_asideMarginDb;
    bool m_coverQuietSpeech;
};
