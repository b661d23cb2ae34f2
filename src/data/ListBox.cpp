#include "ListBox.h"

int ListBox::findExact(const QString &text) const
{
    for (int i = 0; i < count(); ++i) {
        if (item(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
