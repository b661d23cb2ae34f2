#include "AppWindowActions.h"

#include "MenuBuilder.h"

#include <QMenu>
#include <QToolBar>

AppWindowActions AppWindowActions::build(QMainWindow &window)
{
    AppWindowActions a;
    MenuBuilder b(window);
    a.mnuFile = b.menu("mnuFile", QStringLiteral("&File"));
    a.mnuActivate = MenuBuilder::item(a.mnuFile, "mnuActivate", QStringLiteral("&Activate"));
    a.mnuRun = MenuBuilder::item(a.mnuFile, "mnuRun", QStringLiteral("&Run"));
    a.mnuSaveCmd = MenuBuilder::item(a.mnuFile, "mnuSaveCmd", QStringLiteral("&Save Command"));
    a.mnuDelete = MenuBuilder::item(a.mnuFile, "mnuDelete", QStringLiteral("&Delete Application"),
                                    QKeySequence(Qt::CTRL | Qt::Key_D));
    a.mnuExit = MenuBuilder::item(a.mnuFile, "mnuExit", QStringLiteral("E&xit"),
                                  QKeySequence(Qt::CTRL | Qt::Key_X));
    a.mnuEdit = b.menu("mnuEdit", QStringLiteral("&Edit"));
    a.mnuAppSwitch =
        MenuBuilder::item(a.mnuEdit, "mnuAppSwitch", QStringLiteral("Application/&Vocabulary"));
    a.mnuMeter = MenuBuilder::item(a.mnuEdit, "mnuMeter", QStringLiteral("&Sound Meter"));
    a.mnuEdit->addSeparator();
    a.mnuAddRunApp = MenuBuilder::item(a.mnuEdit, "mnuAddRunApp",
                                       QStringLiteral("&Add to Voice Command Applications"),
                                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    a.mnuHelp = b.menu("mnuHelp", QStringLiteral("&Help"));
    a.mnuJEVHelp =
        MenuBuilder::item(a.mnuHelp, "mnuJEVHelp", QStringLiteral("JEV! Help &Contents"));
    a.mnuAboutJev =
        MenuBuilder::item(a.mnuHelp, "mnuAboutJev", QStringLiteral("About JEV! Voice Command"));

    a.tbrApp = b.toolbar("tbrApp");
    a.tbActivate =
        b.button("Activate", "activate", "Switch to Running Program", "Activates An Open Program");
    a.tbShell = b.button("Shell", "run", "Run Program", "Runs A Program");
    a.tbSavCmd = b.button("SavCmd", "save", "Save Command", "Saves User Configuration Information");
    a.tbDelApp = b.button("DelApp", "delete", "Delete Application",
                          "Deletes An Application From Running Apps List.");
    a.tbAppVoc =
        b.button("AppVoc", "toggle", "Application / Vocabulary Toggle", "Toggles Between Forms");
    a.tbHelp = b.button("Help", "help", "Help", "Launches HTML Help For JEV!");
    return a;
}
