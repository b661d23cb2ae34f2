#include "WordDrop.h"

#include "WindowsLog.h"
#include "WordPickup.h"
#include "data/AppError.h"
#include "data/CVocab.h"
#include "data/ListBox.h"
#include "engine/Vocabularies.h"

#include "platform/Prompter.h"

#include <QTimer>
#include <cmath>

namespace {

constexpr int kBand = 180;         // twips
constexpr int kLastBandEnd = 2000; // line 11 has what is left of its band down to here
constexpr int kFirstTimerLine = 12;

} // namespace

WordDrop::WordDrop(const QString &programDir, ListBox &lstVocab, CVocab &vocab, WordPickup &pickup,
                   Prompter &prompter, QObject *parent)
    : QObject(parent), m_dir(programDir), m_lstVocab(lstVocab), m_vocab(vocab), m_pickup(pickup),
      m_prompter(prompter), m_tmrExtend(new QTimer(this))
{
    m_tmrExtend->setObjectName(QStringLiteral("tmrExtend"));
    m_tmrExtend->setInterval(1000);
    connect(m_tmrExtend, &QTimer::timeout, this, &WordDrop::tick);
}

void WordDrop::select(int line)
{
    // A line that does not exist leaves the selection as it is.
    if (line >= 0 && line < m_lstVocab.count())
        m_lstVocab.setSelectedIndex(line);
}

int WordDrop::bandLine(double yTwips)
{
    if (yTwips < 0 || yTwips > kLastBandEnd)
        return -1;
    if (yTwips <= kBand)
        return 0;
    // Line n >= 1 has the band from n * 180 + 1 to (n + 1) * 180; between two bands (such as
    // 180.5) there is none.
    const int line = int(std::ceil(yTwips / kBand)) - 1;
    return yTwips >= line * kBand + 1 ? line : -1;
}

void WordDrop::dragOver(double yTwips)
{
    m_suppressVocabClick = true;
    if (yTwips > kLastBandEnd) {
        // Switched on, not restarted: moving about down there must not hold the steps back.
        // It stays on when the pointer goes back into a band.
        if (!m_tmrExtend->isActive())
            m_tmrExtend->start();
    } else {
        select(bandLine(yTwips));
    }
}

void WordDrop::tick()
{
    const int next = m_scrollStarted ? m_lstVocab.selectedIndex() + 1 : kFirstTimerLine;
    if (next >= m_lstVocab.count()) {
        select(0);
        return;
    }
    select(next);
    m_scrollStarted = true;
}

void WordDrop::drop()
{
    // The target is the line selected when the button was let go; the copy follows once the
    // drag has ended, so that a message it shows does not run inside the drag.
    m_tmrExtend->stop();
    const int selected = m_lstVocab.selectedIndex();
    m_dropTarget = selected >= 0 ? m_lstVocab.item(selected) : QString();
    QMetaObject::invokeMethod(this, &WordDrop::copyToTarget, Qt::QueuedConnection);
}

void WordDrop::copyToTarget()
{
    const int count = m_pickup.takeDropCount();
    QStringList words;
    bool missing = false;
    for (int i = 1; i <= count && !missing; ++i) {
        try {
            words.append(m_vocab.RetrieveDictionary(qint16(i)));
        } catch (const AppError &e) {
            missing = true; // fewer words were picked up than the drag counted
            qCDebug(lcWindows) << "drop:" << e.message();
        }
    }
    if (!m_dropTarget.isEmpty()) {
        const Vocabularies::Copied copied = Vocabularies(m_dir).copyWords(m_dropTarget, words);
        if (!copied.result.isDone()) {
            copied.result.show(m_prompter);
            return;
        }
    } // else no vocabulary is selected to take the words: no file is opened or made for none
    if (missing) {
        // The words found are in the target; the clicks stay suppressed and the picked-up
        // words kept until a drop succeeds.
        m_prompter.showMessage(QStringLiteral("You Must Select A Dictionary Word!"), kProgramTitle,
                               Prompter::Icon::None);
        return;
    }
    m_vocab.SelectInitialize();
    m_suppressVocabClick = false;
    m_vocab.DictionaryInitialize();
}

void WordDrop::dragEndedElsewhere(int shownVocabulary)
{
    m_tmrExtend->stop();
    if (!m_suppressVocabClick)
        return;                                   // the words never came over the vocabulary list
    m_lstVocab.setSelectedIndex(shownVocabulary); // none when it is no longer listed
    m_suppressVocabClick = false;
}
