#include "ListWidgetBox.h"

#include <QListWidget>
#include <QSignalBlocker>

int ListWidgetBox::count() const
{
    return m_list.count();
}

QString ListWidgetBox::item(int index) const
{
    const QListWidgetItem *line = m_list.item(index);
    return line ? line->text() : QString();
}

void ListWidgetBox::insertItem(int index, const QString &text)
{
    m_list.insertItem(qBound(0, index, count()), text);
}

void ListWidgetBox::removeItem(int index)
{
    if (index < 0 || index >= count())
        return;
    const QSignalBlocker blocker(m_list);
    const bool wasSelected = selectedIndex() == index;
    delete m_list.takeItem(index);
    if (wasSelected)
        m_list.clearSelection();
}

void ListWidgetBox::clear()
{
    const QSignalBlocker blocker(m_list);
    m_list.clear();
}

int ListWidgetBox::selectedIndex() const
{
    const QList<QListWidgetItem *> selected = m_list.selectedItems();
    return selected.isEmpty() ? -1 : m_list.row(selected.first());
}

void ListWidgetBox::setSelectedIndex(int index)
{
    if (index >= 0 && index < count())
        m_list.setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else
        m_list.clearSelection();
}
