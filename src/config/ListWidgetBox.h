#pragma once

#include "data/ListBox.h"

class QListWidget;

// A list box of a window as the data and engine classes fill and read it. Removing the selected
// line leaves nothing selected, as with every list box of the program. Removing lines and
// emptying the list are no selection changes the window reacts to, as with a classic list box.
class ListWidgetBox : public ListBox
{
public:
    explicit ListWidgetBox(QListWidget &list) : m_list(list) {}

    int count() const override;
    QString item(int index) const override;
    void insertItem(int index, const QString &text) override;
    void removeItem(int index) override;
    void clear() override;
    int selectedIndex() const override;
    void setSelectedIndex(int index) override;

private:
    QListWidget &m_list;
};
