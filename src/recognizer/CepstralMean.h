#pragma once

#include <QList>
#include <QtGlobal>
#include <vector>

struct fe_s;
struct ps_decoder_s;

// The decoder's cepstral mean (the average colour of the voice and the microphone) from one
// utterance to the next. It goes on from the utterances before, so that it follows the user;
// until an utterance of speech has been heard it is the model's, so the first one is decoded a
// second time, with the mean its first pass left.
//
// The library sums each frame into the mean's sums, and makes the mean anew from them whenever
// they fill a window and at the end of an utterance, but there only when its own voice detector
// takes the utterance's last samples for speech. It skipped about one utterance in five of the
// benchmark's, and the mean stayed as it was, so a user's colour reached it late and by chance.
// endPass() ends every pass with it.
//
// learn() takes the colour (every coefficient but the first) from an utterance's frames of speech
// alone, so that the room's noise and talk heard between commands do not colour it; the level
// (the first) stays where the decoder's own updates put it, from all it hears: learnt from speech
// alone it lies far above the level the model was trained with, pauses included.
class CepstralMean
{
public:
    CepstralMean() = default;
    ~CepstralMean();
    CepstralMean(const CepstralMean &) = delete;
    CepstralMean &operator=(const CepstralMean &) = delete;

    // reset: every utterance starts from the model's mean instead (only to measure that).
    void open(ps_decoder_s *ps, bool reset);
    // Before the utterance's first sound reaches the decoder.
    void startUtterance();
    // Ends the decoder's pass over an utterance (ps_end_utt) and makes the mean anew from its
    // sums, as the library means to do at the end of every utterance.
    void endPass();
    // After endPass() has ended the utterance, which held speechFrames frames of speech: the
    // first utterance of real speech is decoded again with its own mean. True when it was.
    bool endUtterance(const QList<qint16> &utterance, qsizetype speechFrames);
    // Back to the mean and the sums with which the last pass over the utterance began, so that
    // another pass hears it the same way and leaves the mean as one pass would.
    void rewind();
    // After the last pass over the utterance, with one flag for each 10 ms of it (speech or
    // not). An utterance with too little speech leaves the mean and its sums as they were
    // before it.
    void learn(const QList<qint16> &utterance, const QList<bool> &speechFrames);

    // All that goes on from one stream to the next, to start another stream from the same place.
    struct Snapshot
    {
        std::vector<float> mean;
        std::vector<float> sum;
        int frames = 0;
        bool learnt = false;
    };
    // Between utterances only.
    Snapshot snapshot() const;
    void restore(const Snapshot &snapshot);

private:
    ps_decoder_s *m_ps = nullptr;
    bool m_reset = false;
    bool m_learnt = false;
    std::vector<float> m_modelMean;
    Snapshot m_pass; // where the last pass over the utterance began
    fe_s *m_frontEnd = nullptr;
    Snapshot m_start; // where the utterance began

    std::vector<std::vector<float>> cepstra(const QList<qint16> &utterance);
    // The mean, its sums and their count (not whether speech was heard).
    void putSums(const Snapshot &snapshot);
};
