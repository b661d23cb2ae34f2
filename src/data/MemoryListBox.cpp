#include "MemoryListBox.h"

void MemoryListBox::insertItem(int index, const QString &text)
{
    index = qBound(0, index, count());
    m_items.insert(index, text);
    if (m_selected >= index)
        ++m_selected;
}

void MemoryListBox::removeItem(int index)
{
    if (index < 0 || index >= count())
        return;
    m_items.removeAt(index);
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
}

void MemoryListBox::clear()
{
    m_items.clear();
    m_selected = -1;
}

void MemoryListBox::setSelectedIndex(int index)
{
    m_selected = (index >= 0 && index < count()) ? index : -1;
}
