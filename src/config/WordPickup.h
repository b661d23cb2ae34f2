#pragma once

#include <QString>

class CVocab;
class DictionaryList;
class QLabel;

// Which words a left press in the word list picks up for a drag, and how many of them the drop
// copies. The words go to the window's CVocab (its copy list; SelectionNumber is the count). The
// presses are counted from press to press, so that the Ctrl+click that adds the last word of a
// selection drags all of them; after Select All the next press picks up the whole list; the
// first press after keyboard use only starts the counting afresh and deselects its line.
class WordPickup
{
public:
    // carrier: the hidden label whose outline a drag carries (lblVocab).
    WordPickup(CVocab &vocab, DictionaryList &list, QLabel &carrier);

    // A left press at height y (pixels) of the list, already applied to its selection; false
    // when there is no word to work on.
    bool leftPress(int y);
    // Places the carrier over count lines centred on y and arms the drag.
    void ListMove(int count, int y);
    // A click on a word, or a selection change by the keyboard.
    void wordClick();
    void keyRelease() { m_keyReleased = true; }
    // Selects every word; the next press picks up all of them. Words picked up before are
    // forgotten, so that the drag carries exactly the list.
    void selectAll();
    // The number of picked-up words a drop copies; a pending Select All is used up.
    int takeDropCount();
    // A drag ended without a drop on a vocabulary: the words picked up and the counting start
    // afresh.
    void forget();

private:
    CVocab &m_vocab;
    DictionaryList &m_list;
    QLabel &m_carrier;
    bool m_keyReleased = false;
    int m_selectAllCount = 0;
    bool m_selectAllPending = false;
    int m_pressCount = 0;
    bool m_pressCountStarted = false;
};
