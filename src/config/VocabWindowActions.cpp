#include "VocabWindowActions.h"

#include "AppWindowActions.h"

#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

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

// A toolbar button without caption: its image and its tool tip, which also names it for
// assistive tools.
QAction *addButton(QToolBar *toolbar, const char *key, const char *image, const QString &tip)
{
    QAction *action = toolbar->addAction(QIcon(AppWindowActions::imageFolder() + QLatin1Char('/') +
                                               QLatin1String(image) + QStringLiteral(".svg")),
                                         tip);
    action->setObjectName(QLatin1String(key));
    action->setToolTip(tip);
    if (QWidget *button = toolbar->widgetForAction(action)) {
        button->setObjectName(QStringLiteral("tbrVocab_") + QLatin1String(key));
        button->setAccessibleName(tip);
    }
    return action;
}

} // namespace

VocabWindowActions VocabWindowActions::build(QMainWindow &window)
{
    VocabWindowActions a;
    a.mnuFile = addMenu(window, "mnuFile", QStringLiteral("&File"));
    a.mnuNewVocab = addItem(a.mnuFile, "mnuNewVocab", QStringLiteral("&New Vocabulary"));
    a.mnuDeleteVocab = addItem(a.mnuFile, "mnuDeleteVocab", QStringLiteral("&Delete Vocabulary"));
    a.mnuSaveChanges = addItem(a.mnuFile, "mnuSaveChanges", QStringLiteral("&Save Changes"));
    a.mnuExit =
        addItem(a.mnuFile, "mnuExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));
    a.mnuEdit = addMenu(window, "mnuEdit", QStringLiteral("&Edit Dictionary"));
    a.mnuPopNew = addItem(a.mnuEdit, "mnuPopNew", QStringLiteral("&New Word"));
    a.mnuDelete = addItem(a.mnuEdit, "mnuDelete", QStringLiteral("&Delete Word"));
    a.mnuDicSelAll = addItem(a.mnuEdit, "mnuDicSelAll", QStringLiteral("&Select All Words"));
    a.mnuEdit->addSeparator();
    a.mnuCopyWords = addItem(a.mnuEdit, "mnuCopyWords", QStringLiteral("&Copy Words To..."),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    a.mnuHelp = addMenu(window, "mnuHelp", QStringLiteral("&Help"));
    a.mnuJEVHelp = addItem(a.mnuHelp, "mnuJEVHelp", QStringLiteral("JEV! &Help Contents"));

    a.tbrVocab = window.addToolBar(QStringLiteral("Toolbar"));
    a.tbrVocab->setObjectName(QStringLiteral("tbrVocab"));
    a.tbrVocab->setMovable(false);
    a.tbrVocab->setFloatable(false);
    a.tbrVocab->toggleViewAction()->setEnabled(false);
    a.tbrVocab->setIconSize(QSize(24, 24));
    a.tbNewVocab = addButton(a.tbrVocab, "NewVocab", "newvocab", QStringLiteral("New Vocabulary"));
    a.tbDelVocab =
        addButton(a.tbrVocab, "DelVocab", "delvocab", QStringLiteral("Delete Dictionary"));
    a.tbSvCh = addButton(a.tbrVocab, "SvCh", "save", QStringLiteral("Save Word"));
    a.tbSelDict =
        addButton(a.tbrVocab, "SelDict", "selectall", QStringLiteral("Select Entire Dictionary"));
    a.tbSwitch =
        addButton(a.tbrVocab, "Switch", "toggle", QStringLiteral("Application/Vocabulary"));
    a.tbNewDict = addButton(a.tbrVocab, "NewDict", "newword", QStringLiteral("New Word"));
    a.tbDelDict = addButton(a.tbrVocab, "DelDict", "delword", QStringLiteral("Delete Word"));
    a.tbHelp = addButton(a.tbrVocab, "Help", "help", QStringLiteral("Help"));
    return a;
}
