#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// Builds a configuration window's menus and its fixed toolbar. Every menu and item is named
// (objectName) after its name; a toolbar button is named after its key, and the button widget
// carries the toolbar's name and the key ("tbrApp_Shell").
class MenuBuilder
{
public:
    explicit MenuBuilder(QMainWindow &window);

    QMenu *menu(const char *name, const QString &caption);
    static QAction *item(QMenu *menu, const char *name, const QString &caption,
                         const QKeySequence &shortcut = {});

    // The toolbar across the top of the window: neither movable nor hideable.
    QToolBar *toolbar(const char *name);
    // A button of that toolbar without caption: its image, its tool tip (which also names it for
    // assistive tools) and, when given, a longer description for "What's This?" and the status
    // bar.
    QAction *button(const char *key, const QString &image, const QString &tip,
                    const QString &description = {});

    // The folder of the toolbar images.
    static QString imageFolder();

private:
    QMainWindow &m_window;
    QToolBar *m_toolbar = nullptr;
};
