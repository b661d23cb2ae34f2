#include "VocabWindowActions.h"

#include "MenuBuilder.h"

#include <QMenu>
#include <QToolBar>

VocabWindowActions VocabWindowActions::build(QMainWindow &window)
{
    VocabWindowActions a;
    MenuBuilder b(window);
    a.mnuFile = b.menu("mnuFile", QStringLiteral("&File"));
    a.mnuNewVocab = MenuBuilder::item(a.mnuFile, "mnuNewVocab", QStringLiteral("&New Vocabulary"));
    a.mnuDeleteVocab =
        MenuBuilder::item(a.mnuFile, "mnuDeleteVocab", QStringLiteral("&Delete Vocabulary"));
    a.mnuSaveChanges =
        MenuBuilder::item(a.mnuFile, "mnuSaveChanges", QStringLiteral("&Save Changes"));
    a.mnuExit = MenuBuilder::item(a.mnuFile, "mnuExit", QStringLiteral("E&xit"),
                                  QKeySequence(Qt::CTRL | Qt::Key_X));
    a.mnuEdit = b.menu("mnuEdit", QStringLiteral("&Edit Dictionary"));
    a.mnuPopNew = MenuBuilder::item(a.mnuEdit, "mnuPopNew", QStringLiteral("&New Word"));
    a.mnuDelete = MenuBuilder::item(a.mnuEdit, "mnuDelete", QStringLiteral("&Delete Word"));
    a.mnuDicSelAll =
        MenuBuilder::item(a.mnuEdit, "mnuDicSelAll", QStringLiteral("&Select All Words"));
    a.mnuEdit->addSeparator();
    a.mnuCopyWords =
        MenuBuilder::item(a.mnuEdit, "mnuCopyWords", QStringLiteral("&Copy Words To..."),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    a.mnuHelp = b.menu("mnuHelp", QStringLiteral("&Help"));
    a.mnuJEVHelp =
        MenuBuilder::item(a.mnuHelp, "mnuJEVHelp", QStringLiteral("JEV! &Help Contents"));

    a.tbrVocab = b.toolbar("tbrVocab");
    a.tbNewVocab =
        b.button("NewVocab", QStringLiteral("newvocab"), QStringLiteral("New Vocabulary"));
    a.tbDelVocab =
        b.button("DelVocab", QStringLiteral("delvocab"), QStringLiteral("Delete Dictionary"));
    a.tbSvCh = b.button("SvCh", QStringLiteral("save"), QStringLiteral("Save Word"));
    a.tbSelDict = b.button("SelDict", QStringLiteral("selectall"),
                           QStringLiteral("Select Entire Dictionary"));
    a.tbSwitch =
        b.button("Switch", QStringLiteral("toggle"), QStringLiteral("Application/Vocabulary"));
    a.tbNewDict = b.button("NewDict", QStringLiteral("newword"), QStringLiteral("New Word"));
    a.tbDelDict = b.button("DelDict", QStringLiteral("delword"), QStringLiteral("Delete Word"));
    a.tbHelp = b.button("Help", QStringLiteral("help"), QStringLiteral("Help"));
    return a;
}
