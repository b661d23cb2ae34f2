#pragma once

#include <QString>

// The lists of the windows that the data and engine classes fill and read (the application list,
// the vocabulary list and combo box, the dictionary list, the grammar writer's scratch list).
class ListBox
{
public:
    virtual ~ListBox() = default;

    virtual int count() const = 0;
    virtual QString item(int index) const = 0;
    // An index at or past the end appends.
    virtual void insertItem(int index, const QString &text) = 0;
    virtual void removeItem(int index) = 0;
    virtual void clear() = 0;
    // -1 when nothing is selected.
    virtual int selectedIndex() const = 0;
    virtual void setSelectedIndex(int index) = 0;

    void addItem(const QString &text) { insertItem(count(), text); }
    // Index of the first entry equal to text as a whole, case ignored; -1 when there is none.
    int findExact(const QString &text) const;
};
