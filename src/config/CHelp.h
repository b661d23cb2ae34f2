#pragma once

#include <QUrl>
#include <QVariant>

class QWidget;

// Opens the program's help book in a help window. The book stands in for the help file named by
// the callers ("jevhelp.chm"): a window pane names a page of the book, a context id an anchor.
class CHelp
{
public:
    // owner: the window whose Help menu opens the help. The help window belongs to it, so that
    // it takes input while that window is modal; without one it belongs to the modal window in
    // front, if any.
    explicit CHelp(QWidget *owner = nullptr) : m_owner(owner) {}

    // The help window shown, or null when the help book is missing (nothing is reported then).
    QWidget *Show(const QString &NewFile, const QString &WindowPane = {},
                  const QVariant &ContextID = {});
    // The page that Show opens for these arguments; empty when there is no help book.
    static QUrl target(const QString &NewFile, const QString &WindowPane,
                       const QVariant &ContextID);

private:
    QWidget *m_owner;
};
