#include "ComboListBox.h"

#include <QComboBox>

int ComboListBox::count() const
{
    return m_combo.count();
}

QString ComboListBox::item(int index) const
{
    return m_combo.itemText(index);
}

void ComboListBox::insertItem(int index, const QString &text)
{
    // An empty editable box would take the first line as its text.
    const QString shown = m_combo.currentText();
    m_combo.insertItem(qBound(0, index, count()), text);
    if (m_combo.isEditable())
        m_combo.setEditText(shown);
}

void ComboListBox::removeItem(int index)
{
    const QString shown = m_combo.currentText();
    m_combo.removeItem(index);
    if (m_combo.isEditable())
        m_combo.setEditText(shown);
}

void ComboListBox::clear()
{
    const QString shown = m_combo.currentText();
    m_combo.clear();
    if (m_combo.isEditable())
        m_combo.setEditText(shown);
}

int ComboListBox::selectedIndex() const
{
    return m_combo.currentIndex();
}

void ComboListBox::setSelectedIndex(int index)
{
    m_combo.setCurrentIndex(index >= 0 && index < count() ? index : -1);
}
