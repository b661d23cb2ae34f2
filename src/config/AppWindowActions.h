#pragma once

#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The menu bar and the toolbar of the application window, with their captions, shortcuts, tool
// tips and images. Every action is named after its menu item or toolbar key (objectName).
struct AppWindowActions
{
    QMenu *mnuFile = nullptr;
    QAction *mnuActivate = nullptr;
    QAction *mnuRun = nullptr;
    QAction *mnuSaveCmd = nullptr;
    QAction *mnuDelete = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuAppSwitch = nullptr;
    QAction *mnuMeter = nullptr;
    // The keyboard's way to add the running application selected on the right.
    QAction *mnuAddRunApp = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuJEVHelp = nullptr;
    QAction *mnuAboutJev = nullptr;

    QToolBar *tbrApp = nullptr;
    QAction *tbActivate = nullptr;
    QAction *tbShell = nullptr;
    QAction *tbSavCmd = nullptr;
    QAction *tbDelApp = nullptr;
    QAction *tbAppVoc = nullptr;
    QAction *tbHelp = nullptr;

    // Builds them on window: menus in its menu bar, the toolbar across its top.
    static AppWindowActions build(QMainWindow &window);
};
