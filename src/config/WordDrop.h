#pragma once

#include <QObject>
#include <QString>

class CVocab;
class ListBox;
class Prompter;
class QTimer;
class WordPickup;

// Where dragged words go, and their copy there. While the words are over the vocabulary list,
// the line under the pointer is selected (fixed 180-twip bands from the list's top, whatever
// its scroll position); below its top 2000 twips the timer tmrExtend selects line 12, then one
// line further each second, back to line 0 after the last. The selection names the target, so
// the window loads no words meanwhile (suppressVocabClick). The drop copies the picked-up words
// that the target lacks, through the engine, as the keyboard's Copy Words To... does.
class WordDrop : public QObject
{
    Q_OBJECT

public:
    WordDrop(const QString &programDir, ListBox &lstVocab, CVocab &vocab, WordPickup &pickup,
             Prompter &prompter, QObject *parent = nullptr);

    bool suppressVocabClick() const { return m_suppressVocabClick; }
    QTimer &timer() const { return *m_tmrExtend; }

    void dragOver(double yTwips);
    void tick();
    void drop();
    // The drag ended anywhere but on the vocabulary list: the timer stops, the vocabulary
    // whose words are shown is selected again, and clicks load words again.
    void dragEndedElsewhere(int shownVocabulary);

private:
    // The line whose band holds yTwips, -1 for none.
    static int bandLine(double yTwips);
    void select(int line);
    void copyToTarget();

    QString m_dir;
    ListBox &m_lstVocab;
    CVocab &m_vocab;
    WordPickup &m_pickup;
    Prompter &m_prompter;
    QTimer *m_tmrExtend;
    bool m_suppressVocabClick = false;
    bool m_scrollStarted = false;
    QString m_dropTarget;
};
