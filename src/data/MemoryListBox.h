#pragma once

#include "ListBox.h"

#include <QStringList>

// A list without a window: the grammar writer's scratch list and the command line's lists.
class MemoryListBox : public ListBox
{
public:
    MemoryListBox() = default;
    explicit MemoryListBox(QStringList items) : m_items(std::move(items)) {}

    int count() const override { return int(m_items.size()); }
    QString item(int index) const override { return m_items.value(index); }
    void insertItem(int index, const QString &text) override;
    void removeItem(int index) override;
    void clear() override;
    int selectedIndex() const override { return m_selected; }
    void setSelectedIndex(int index) override;

    QStringList items() const { return m_items; }

private:
    QStringList m_items;
    int m_selected = -1;
};
