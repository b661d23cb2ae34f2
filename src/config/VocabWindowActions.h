#pragma once

#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The menu bar and the toolbar of the vocabulary window, with their captions, shortcuts, tool
// tips and images. Every action is named after its menu item or toolbar key (objectName); the
// toolbar's buttons are named "tbrVocab_" and their key.
struct VocabWindowActions
{
    QMenu *mnuFile = nullptr;
    QAction *mnuNewVocab = nullptr;
    QAction *mnuDeleteVocab = nullptr;
    QAction *mnuSaveChanges = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuPopNew = nullptr;
    QAction *mnuDelete = nullptr;
    QAction *mnuDicSelAll = nullptr;
    // The keyboard's way to copy the selected words to another vocabulary, as a drop does.
    QAction *mnuCopyWords = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuJEVHelp = nullptr;

    QToolBar *tbrVocab = nullptr;
    QAction *tbNewVocab = nullptr;
    QAction *tbDelVocab = nullptr;
    QAction *tbSvCh = nullptr;
    QAction *tbSelDict = nullptr;
    QAction *tbSwitch = nullptr;
    QAction *tbNewDict = nullptr;
    QAction *tbDelDict = nullptr;
    QAction *tbHelp = nullptr;

    // Builds them on window: menus in its menu bar, the toolbar across its top.
    static VocabWindowActions build(QMainWindow &window);
};
