#pragma once

#include "data/ListBox.h"

class QComboBox;

// The drop-down list of a combo box as the data classes fill it. Filling the list leaves the text
// of the box alone; the selected index is the current one.
class ComboListBox : public ListBox
{
public:
    explicit ComboListBox(QComboBox &combo) : m_combo(combo) {}

    int count() const override;
    QString item(int index) const override;
    void insertItem(int index, const QString &text) override;
    void removeItem(int index) override;
    void clear() override;
    int selectedIndex() const override;
    void setSelectedIndex(int index) override;

private:
    QComboBox &m_combo;
};
