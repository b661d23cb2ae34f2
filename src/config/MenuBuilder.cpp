#include "MenuBuilder.h"

#include "ProgramFiles.h"

#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

MenuBuilder::MenuBuilder(QMainWindow &window) : m_window(window) {}

QMenu *MenuBuilder::menu(const char *name, const QString &caption)
{
    QMenu *menu = m_window.menuBar()->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *MenuBuilder::item(QMenu *menu, const char *name, const QString &caption,
                           const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

QToolBar *MenuBuilder::toolbar(const char *name)
{
    m_toolbar = m_window.addToolBar(QStringLiteral("Toolbar"));
    m_toolbar->setObjectName(QLatin1String(name));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->toggleViewAction()->setEnabled(false);
    m_toolbar->setIconSize(QSize(24, 24));
    return m_toolbar;
}

QAction *MenuBuilder::button(const char *key, const QString &image, const QString &tip,
                             const QString &description)
{
    const QIcon icon(imageFolder() + QLatin1Char('/') + image + QStringLiteral(".svg"));
    QAction *action = m_toolbar->addAction(icon, tip);
    action->setObjectName(QLatin1String(key));
    action->setToolTip(tip);
    if (!description.isEmpty()) {
        action->setWhatsThis(description);
        action->setStatusTip(description);
    }
    if (QWidget *widget = m_toolbar->widgetForAction(action)) {
        widget->setObjectName(m_toolbar->objectName() + QLatin1Char('_') + QLatin1String(key));
        widget->setAccessibleName(tip);
        if (!description.isEmpty())
            widget->setAccessibleDescription(description);
    }
    return action;
}

QString MenuBuilder::imageFolder()
{
    return ProgramFiles::folder(QStringLiteral("icons")) + QStringLiteral("/toolbar");
}
