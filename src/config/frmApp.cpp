#include "frmApp.h"

#include "CHelp.h"
#include "ConfigWindows.h"
#include "EntryList.h"
#include "ProgramSettings.h"
#include "StretchContainer.h"
#include "VocabularyWindow.h"
#include "WindowsLog.h"
#include "data/AppError.h"
#include "engine/ApplicationList.h"
#include "engine/CApp.h"
#include "engine/Vocabularies.h"
#include "frmAbout.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "recognizer/Recognizer.h"
#include "speech/frmVolSet.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

namespace {

const QString kWindowKey = QStringLiteral("frmApp");

// The design's client area is 9390 x 4845 twips. The toolbar takes its top band at its own
// height; the stretch container holds the rest, so the controls' tops move up by the band.
constexpr int kToolbarBand = 600;
const QSize kDesignSize(9390, 4845 - kToolbarBand);

QRect designRect(int left, int top, int width, int height)
{
    return QRect(left, top - kToolbarBand, width, height);
}

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// A label and the control it names: the control takes the label's text as its accessible name.
QLabel *labelFor(QWidget *control, const char *name, const QString &text)
{
    auto *label = named(new QLabel(text), name);
    label->setBuddy(control);
    QString spoken = text;
    if (spoken.endsWith(QLatin1Char(':')))
        spoken.chop(1);
    control->setAccessibleName(spoken);
    return label;
}

} // namespace

frmApp::frmApp(ConfigWindows &windows, QWidget *parent)
    : QMainWindow(parent), m_windows(windows), m_dir(windows.context().programDir), m_vocab(m_dir)
{
    setObjectName(QStringLiteral("frmApp"));
    setWindowTitle(QStringLiteral("Application Command Configuration"));
    // The program ends with the speech window, not with this one.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_actions = AppWindowActions::build(*this);
    buildControls();
    setTabOrderAndNames();
    connectActions();
    m_app = std::make_unique<CApp>(m_dir, windows.context().services, m_appBox.get());
    restoreGeometry(ProgramSettings::windowPosition(kWindowKey));
    AddListBoxHSB(*m_lstVAppCmd, 2.0);
    AddListBoxHSB(*m_lstRunApp, 2.0);
}

frmApp::~frmApp() = default;

Prompter &frmApp::prompter() const
{
    return m_windows.context().services.prompter;
}

void frmApp::buildControls()
{
    auto *container = named(new StretchContainer(kDesignSize), "strApp");
    setCentralWidget(container);
    m_lstVAppCmd = named(new EntryList, "lstVAppCmd");
    m_lstRunApp = named(new EntryList, "lstRunApp");
    m_lblApp = named(new QLabel, "lblApp");
    m_lblApp->hide(); // carries the dragged entry's text only
    m_txtVActivate = named(new QLineEdit, "txtVActivate");
    m_cmbVocabulary = named(new QComboBox, "cmbVocabulary");
    m_cmbVocabulary->setEditable(true);
    m_cmbVocabulary->setInsertPolicy(QComboBox::NoInsert);
    m_txtPath = named(new QLineEdit, "txtPath");
    m_cmdSaveVocab = named(new QPushButton(QStringLiteral("&Save Command")), "cmdSaveVocab");
    m_cmdToggle = named(new QPushButton(QStringLiteral("Application/&Vocabulary")), "cmdToggle");
    m_cmdCloseApp = named(new QPushButton(QStringLiteral("&Close")), "cmdCloseApp");

    const std::pair<QWidget *, QRect> controls[] = {
        {labelFor(m_lstVAppCmd, "lblVApp", QStringLiteral("Voice Command Applications:")),
         designRect(120, 720, 2655, 255)},
        {m_lstVAppCmd, designRect(120, 960, 4455, 2400)},
        {labelFor(m_lstRunApp, "lblRunApp", QStringLiteral("Currently Running Applications")),
         designRect(4800, 720, 2895, 255)},
        {m_lstRunApp, designRect(4800, 960, 4455, 2400)},
        {m_lblApp, designRect(3720, 720, 735, 255)},
        {labelFor(m_txtVActivate, "lblVActivate", QStringLiteral("Voice Activation Command:")),
         designRect(120, 3480, 2895, 255)},
        {m_txtVActivate, designRect(120, 3720, 4455, 285)},
        {labelFor(m_cmbVocabulary, "lblVocabulary", QStringLiteral("Assigned Vocabulary:")),
         designRect(120, 4080, 1695, 255)},
        {m_cmbVocabulary, designRect(120, 4320, 2175, 315)},
        {labelFor(m_txtPath, "lblPath", QStringLiteral("File/Path Name:")),
         designRect(2520, 4080, 1215, 255)},
        {m_txtPath, designRect(2520, 4320, 4455, 315)},
        {m_cmdSaveVocab, designRect(4800, 3480, 2175, 495)},
        {m_cmdToggle, designRect(7200, 3480, 2055, 495)},
        {m_cmdCloseApp, designRect(7200, 4080, 2055, 615)},
    };
    for (const auto &[control, rect] : controls)
        container->addControl(control, rect);
    container->fitContents();
    m_lstRunApp->enableDragOut();
    m_lstVAppCmd->acceptDropsFrom(m_lstRunApp);
    m_runBox = std::make_unique<ListWidgetBox>(*m_lstRunApp);
    m_appBox = std::make_unique<ListWidgetBox>(*m_lstVAppCmd);
    m_comboBox = std::make_unique<ComboListBox>(*m_cmbVocabulary);
    resize(container->designPixelSize() +
           QSize(0, menuBar()->sizeHint().height() + m_actions.tbrApp->sizeHint().height()));
}

void frmApp::setTabOrderAndNames()
{
    const QList<QWidget *> order{m_cmdToggle,     m_lstRunApp, m_lstVAppCmd,   m_txtVActivate,
                                 m_cmbVocabulary, m_txtPath,   m_cmdSaveVocab, m_cmdCloseApp};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    m_cmdToggle->setFocus();
}

void frmApp::connectActions()
{
    const AppWindowActions &a = m_actions;
    for (QAction *save : {a.mnuSaveCmd, a.tbSavCmd})
        connect(save, &QAction::triggered, this, &frmApp::saveCommand);
    connect(m_cmdSaveVocab, &QPushButton::clicked, this, &frmApp::saveCommand);
    for (QAction *activate : {a.mnuActivate, a.tbActivate})
        connect(activate, &QAction::triggered, this, &frmApp::activateProgram);
    connect(a.mnuRun, &QAction::triggered, this, &frmApp::ShellSub);
    connect(m_lstVAppCmd, &QListWidget::itemDoubleClicked, this, &frmApp::ShellSub);
    connect(a.tbShell, &QAction::triggered, this, &frmApp::shellApp);
    connect(a.mnuDelete, &QAction::triggered, this, [this] { deleteEntry(false); });
    connect(a.tbDelApp, &QAction::triggered, this, [this] { deleteEntry(true); });
    for (QAction *toggle : {a.mnuAppSwitch, a.tbAppVoc})
        connect(toggle, &QAction::triggered, this, &frmApp::switchToVocabulary);
    connect(m_cmdToggle, &QPushButton::clicked, this, &frmApp::switchToVocabulary);
    connect(a.mnuMeter, &QAction::triggered, this, &frmApp::soundMeter);
    connect(a.mnuAddRunApp, &QAction::triggered, this, &frmApp::addSelectedRunningApp);
    for (QAction *help : {a.mnuJEVHelp, a.tbHelp})
        connect(help, &QAction::triggered, this,
                [this] { CHelp(this).Show(m_dir + QStringLiteral("/jevhelp.chm")); });
    connect(a.mnuAboutJev, &QAction::triggered, this,
            [this] { frmAbout(prompter(), this).exec(); });
    connect(a.mnuExit, &QAction::triggered, this, &frmApp::closeCommand);
    connect(m_cmdCloseApp, &QPushButton::clicked, this, &frmApp::closeCommand);
    connect(m_lstVAppCmd, &QListWidget::itemSelectionChanged, this, &frmApp::showEntry);
    connect(m_lstVAppCmd, &EntryList::popupMenuWanted, this, &frmApp::showPopupMenu);
    // The drop is handled once the drag has ended, so that a message box it shows does not run
    // inside the drag.
    connect(m_lstVAppCmd, &EntryList::entryDropped, this, &frmApp::addRunningApp,
            Qt::QueuedConnection);
}

void frmApp::AddListBoxHSB(EntryList &lstIn, double sngMultipleWidth)
{
    if (!lstIn.setHorizontalExtentFactor(sngMultipleWidth))
        prompter().showMessage(QStringLiteral("Error: %1. %2")
                                   .arg(AppErrorNumber::Overflow)
                                   .arg(appErrorText(AppErrorNumber::Overflow)),
                               QStringLiteral("AddListBoxHSB"), Prompter::Icon::None);
}

void frmApp::selectEntry(int position)
{
    m_appBox->setSelectedIndex(position);
    showEntry(); // also when the line was selected already
}

void frmApp::showEntry()
{
    const int selected = m_appBox->selectedIndex();
    if (selected < 0 || !m_app)
        return;
    m_txtVActivate->setText(m_app->UserDefinedName(qint16(selected)));
    m_cmbVocabulary->setEditText(m_app->VocabularyName());
    m_txtPath->setText(m_app->PathName());
}

void frmApp::addRunningApp(const QString &entry)
{
    m_lblApp->setText(entry);
    if (entry.isEmpty() || m_unloaded)
        return;
    const EditResult result = ApplicationList(m_dir).add(entry);
    if (result.isDone())
        m_appBox->addItem(entry); // the first free record is the one after the last entry
    else
        result.show(prompter());
}

void frmApp::addSelectedRunningApp()
{
    const int selected = m_runBox->selectedIndex();
    if (selected >= 0)
        addRunningApp(m_runBox->item(selected));
}

void frmApp::saveCommand()
{
    const int selected = m_appBox->selectedIndex();
    const QString nothingToSave = QStringLiteral("There is nothing to save!");
    const QString noItem = QStringLiteral("No item to save");
    if (selected < 0) {
        if (m_appBox->count() == 0) {
            prompter().showMessage(nothingToSave, noItem, Prompter::Icon::None);
            return;
        }
        selectEntry(0);
        prompter().showMessage(QStringLiteral("You must select a Voice Application!"),
                               kProgramTitle, Prompter::Icon::None);
        m_txtVActivate->setFocus();
        m_txtVActivate->selectAll();
        return;
    }
    const EditResult result = ApplicationList(m_dir).save(
        selected, m_txtVActivate->text(), m_cmbVocabulary->currentText(), m_txtPath->text());
    if (result.outcome == EditResult::Outcome::Failed) {
        // The window's own message stands for every failure; the cause goes to the log.
        qCDebug(lcWindows) << "save failed:" << result.text << result.detail;
        prompter().showMessage(nothingToSave, noItem, Prompter::Icon::None);
        return;
    }
    result.show(prompter());
}

void frmApp::ShellSub()
{
    QString error;
    if (m_app && !m_windows.context().services.shell.startCommandLine(m_app->PathName(), &error)) {
        qCDebug(lcWindows) << "start of" << m_app->PathName() << "failed:" << error;
        prompter().showMessage(QStringLiteral("You must enter a valid Path/Filename!"),
                               QStringLiteral("Invalid Path/Filename"), Prompter::Icon::None);
    }
}

void frmApp::shellApp()
{
    if (m_app)
        m_app->ShellApp();
}

void frmApp::activateProgram()
{
    // Without a selection there is no window to look for (an empty name would match any
    // window without a class).
    const int selected = m_appBox->selectedIndex();
    if (m_app && selected >= 0)
        m_app->SetForeground(m_appBox->item(selected));
}

void frmApp::deleteEntry(bool ask)
{
    if (ask &&
        !prompter().askOkCancel(
            QStringLiteral("Warning!  You are about to delete a voice-controlled application "
                           "are you sure you want to proceed?"),
            QStringLiteral("Delete Voice-Controlled Application"), Prompter::Icon::None))
        return;
    if (m_app)
        m_app->DelRunApp();
}

void frmApp::switchToVocabulary()
{
    hide();
    VocabularyWindow &vocabulary = m_windows.vocabulary();
    if (m_switchedBefore) {
        vocabulary.vocabularyList().clear();
        m_vocab.setLists({&vocabulary.vocabularyList(), nullptr, nullptr});
        m_vocab.FillVocabFile(true);
    }
    m_switchedBefore = true;
    vocabulary.vocabularyList().setSelectedIndex(0);
    if (vocabulary.showModal() && !m_unloaded) {
        show();
        raise();
        activateWindow();
    } else {
        quitModal(); // the user left the configuration: the speech window is next
    }
}

void frmApp::soundMeter()
{
    const ConfigWindows::Context &context = m_windows.context();
    QString error;
    if (!context.recognizer.Activate(&error))
        prompter().showMessage(error, kProgramTitle, Prompter::Icon::Warning);
    m_volSet =
        new frmVolSet(context.meter, context.recognizer, this, &prompter(), context.soundSources);
    m_volSet->setAttribute(Qt::WA_DeleteOnClose);
    m_volSet->exec();
}

void frmApp::showPopupMenu(const QPoint &globalPos)
{
    if (m_appBox->selectedIndex() >= 0)
        m_actions.mnuEdit->popup(globalPos);
}

void frmApp::closeCommand()
{
    const EditResult check = ApplicationList(m_dir).checkComplete();
    if (!check.isDone()) {
        if (check.position >= 0)
            selectEntry(check.position);
        check.show(prompter());
        return;
    }
    close();
}

void frmApp::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}

void frmApp::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Vocabularies(m_dir).writeGrammar().show(prompter());
    m_comboBox->clear();
    if (VocabularyWindow *vocabulary = m_windows.loadedVocabulary())
        vocabulary->vocabularyList().clear();
    if (m_volSet && m_volSet->isVisible()) {
        m_volSet->hide();
        m_volSet->deleteLater();
    }
    // A window that was loaded but never shown has no position of its own to keep.
    if (m_shown)
        ProgramSettings::setWindowPosition(kWindowKey, saveGeometry());
    m_app.reset();
    hide();
    quitModal();
}

void frmApp::showModal()
{
    m_shown = true;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
}

void frmApp::quitModal()
{
    if (m_modalLoop)
        m_modalLoop->quit();
}
