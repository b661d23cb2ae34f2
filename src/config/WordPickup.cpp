#include "WordPickup.h"

#include "DictionaryList.h"
#include "WindowsLog.h"
#include "data/AppError.h"
#include "data/CVocab.h"

#include <QLabel>

WordPickup::WordPickup(CVocab &vocab, DictionaryList &list, QLabel &carrier)
    : m_vocab(vocab), m_list(list), m_carrier(carrier)
{}

bool WordPickup::leftPress(int y)
{
    QListWidgetItem *current = m_list.currentItem();
    if (!current)
        return false;
    try {
        if (m_selectAllCount != 0) {
            m_pressCount = m_selectAllCount + 1;
            m_vocab.CopyAll();
            m_keyReleased = true;
        } else {
            ++m_pressCount;
        }
        if (m_keyReleased) {
            m_keyReleased = false;
            m_vocab.setSelectionNumber(qint16(m_pressCount));
            ListMove(m_pressCount, y);
            m_pressCount = 0;
            current->setSelected(false);
            m_pressCountStarted = false;
            return true;
        }
        if (!m_pressCountStarted)
            m_pressCountStarted = true;
        else if (m_pressCount > m_list.selectedItems().size())
            m_pressCount = 1;
        if (current->isSelected())
            m_vocab.CopyDictionary(current->text());
        m_vocab.setSelectionNumber(qint16(m_pressCount));
        ListMove(m_pressCount, y);
    } catch (const AppError &e) {
        qCDebug(lcWindows) << "word pick-up failed:" << e.message();
        return false;
    }
    return true;
}

void WordPickup::ListMove(int count, int y)
{
    const int h = m_carrier.window()->fontMetrics().height(); // the height of "A"
    const QRect list = m_list.geometry();
    m_carrier.setGeometry(list.left(), list.top() + y - count * h / 2, list.width(), count * h);
    m_list.armDrag(m_carrier.geometry().translated(-list.topLeft()));
}

void WordPickup::wordClick()
{
    if (m_selectAllPending)
        m_selectAllCount = 0;
}

void WordPickup::selectAll()
{
    m_list.selectAll();
    m_vocab.DictionaryInitialize();
    m_selectAllCount = m_list.count();
    m_selectAllPending = true;
}

int WordPickup::takeDropCount()
{
    m_selectAllCount = 0;
    int count = m_vocab.SelectionNumber();
    if (m_selectAllPending) {
        m_selectAllPending = false;
        --count;
    }
    return count;
}

void WordPickup::forget()
{
    m_vocab.DictionaryInitialize();
    m_vocab.SelectInitialize();
    m_pressCount = 0;
    m_pressCountStarted = false;
    m_selectAllCount = 0;
    m_selectAllPending = false;
}
