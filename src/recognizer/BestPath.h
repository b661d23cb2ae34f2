#pragma once

#include <QList>
#include <QString>

struct ps_decoder_s;

// The decoder's best path through the utterance so far, or through the whole utterance once it
// has ended. Each call reads the decoder anew.
class BestPath
{
public:
    // A word of the path, in frames from the utterance's start, both ends included.
    struct Word
    {
        int start;
        int end;
        // The number of phones in the word's pronunciation; 0 when unknown.
        int phones = 0;
        // A phone of the loop that takes speech which is none of the phrases.
        bool phoneLoop = false;
    };

    explicit BestPath(ps_decoder_s *ps) : m_ps(ps) {}

    // The words as a phrase key; an alternative pronunciation ("live(2)") counts as its word.
    QString key() const;
    // The words only, the phone loop's included: silence and fillers are left out.
    QList<Word> words() const;
    // The share of the frames heard as speech that lie inside the words; 0 without speech. A
    // phrase found in a long sentence takes a few of its words and leaves the rest to silence; a
    // pause between the words of a command is no speech and does not count.
    static double coverage(const QList<Word> &words, const QList<bool> &speechFrames);

private:
    ps_decoder_s *m_ps;
};
