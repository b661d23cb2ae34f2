#include "AppWindowActions.h"

#include "ProgramFiles.h"

#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QMenu *addMenu(QMainWindow &window, const char *name, const QString &caption)
{
    QMenu *menu = window.menuBar()->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *addItem(QMenu *menu, const char *name, const QString &caption,
                 const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

// A toolbar button without caption: its image, its tool tip, and its description for assistive
// tools and "What's This?".
QAction *addButton(QToolBar *toolbar, const char *key, const QString &image, const QString &tip,
                   const QString &description)
{
    QAction *action = toolbar->addAction(
        QIcon(AppWindowActions::imageFolder() + QLatin1Char('/') + image + QStringLiteral(".svg")),
        tip);
    action->setObjectName(QLatin1String(key));
    action->setToolTip(tip);
    action->setWhatsThis(description);
    action->setStatusTip(description);
    if (QWidget *button = toolbar->widgetForAction(action)) {
        button->setObjectName(QStringLiteral("tbrApp_") + QLatin1String(key));
        button->setAccessibleName(tip);
        button->setAccessibleDescription(description);
    }
    return action;
}

} // namespace

QString AppWindowActions::imageFolder()
{
    return ProgramFiles::folder(QStringLiteral("icons")) + QStringLiteral("/toolbar");
}

AppWindowActions AppWindowActions::build(QMainWindow &window)
{
    AppWindowActions a;
    a.mnuFile = addMenu(window, "mnuFile", QStringLiteral("&File"));
    a.mnuActivate = addItem(a.mnuFile, "mnuActivate", QStringLiteral("&Activate"));
    a.mnuRun = addItem(a.mnuFile, "mnuRun", QStringLiteral("&Run"));
    a.mnuSaveCmd = addItem(a.mnuFile, "mnuSaveCmd", QStringLiteral("&Save Command"));
    a.mnuDelete = addItem(a.mnuFile, "mnuDelete", QStringLiteral("&Delete Application"),
                          QKeySequence(Qt::CTRL | Qt::Key_D));
    a.mnuExit =
        addItem(a.mnuFile, "mnuExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));
    a.mnuEdit = addMenu(window, "mnuEdit", QStringLiteral("&Edit"));
    a.mnuAppSwitch = addItem(a.mnuEdit, "mnuAppSwitch", QStringLiteral("Application/&Vocabulary"));
    a.mnuMeter = addItem(a.mnuEdit, "mnuMeter", QStringLiteral("&Sound Meter"));
    a.mnuEdit->addSeparator();
    a.mnuAddRunApp =
        addItem(a.mnuEdit, "mnuAddRunApp", QStringLiteral("&Add to Voice Command Applications"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    a.mnuHelp = addMenu(window, "mnuHelp", QStringLiteral("&Help"));
    a.mnuJEVHelp = addItem(a.mnuHelp, "mnuJEVHelp", QStringLiteral("JEV! Help &Contents"));
    a.mnuAboutJev = addItem(a.mnuHelp, "mnuAboutJev", QStringLiteral("About JEV! Voice Command"));

    a.tbrApp = window.addToolBar(QStringLiteral("Toolbar"));
    a.tbrApp->setObjectName(QStringLiteral("tbrApp"));
    a.tbrApp->setMovable(false);
    a.tbrApp->setFloatable(false);
    a.tbrApp->toggleViewAction()->setEnabled(false);
    a.tbrApp->setIconSize(QSize(24, 24));
    a.tbActivate = addButton(a.tbrApp, "Activate", "activate", "Switch to Running Program",
                             "Activates An Open Program");
    a.tbShell = addButton(a.tbrApp, "Shell", "run", "Run Program", "Runs A Program");
    a.tbSavCmd = addButton(a.tbrApp, "SavCmd", "save", "Save Command",
                           "Saves User Configuration Information");
    a.tbDelApp = addButton(a.tbrApp, "DelApp", "delete", "Delete Application",
                           "Deletes An Application From Running Apps List.");
    a.tbAppVoc = addButton(a.tbrApp, "AppVoc", "toggle", "Application / Vocabulary Toggle",
                           "Toggles Between Forms");
    a.tbHelp = addButton(a.tbrApp, "Help", "help", "Help", "Launches HTML Help For JEV!");
    return a;
}
