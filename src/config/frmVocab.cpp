#include "frmVocab.h"

#include "CHelp.h"
#include "ConfigWindows.h"
#include "DictionaryEditor.h"
#include "DictionaryList.h"
#include "ListWidgetBox.h"
#include "ProgramSettings.h"
#include "StretchContainer.h"
#include "VocabularyList.h"
#include "WindowsLog.h"
#include "WordDrop.h"
#include "WordPickup.h"
#include "engine/CApp.h"
#include "engine/RunningApps.h"
#include "engine/Vocabularies.h"
#include "frmApp.h"
#include "platform/Prompter.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

namespace {

const QString kWindowKey = QStringLiteral("frmVocab");

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
    control->setAccessibleName(text.chopped(1)); // without the colon
    return label;
}

} // namespace

frmVocab::frmVocab(ConfigWindows &windows, QWidget *parent)
    : QMainWindow(parent), m_windows(windows), m_dir(windows.context().programDir), m_vocab(m_dir)
{
    setObjectName(QStringLiteral("frmVocab"));
    setWindowTitle(QStringLiteral("Vocabulary/Dictionary Configuration"));
    // The program ends with the speech window, not with this one.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_actions = VocabWindowActions::build(*this);
    buildControls();
    setTabOrderAndNames();
    m_vocab.setLists({m_vocabBox.get(), m_dictionaryBox.get(), nullptr});
    m_pickup = std::make_unique<WordPickup>(m_vocab, *m_lstDictionary, *m_lblVocab);
    m_drop = new WordDrop(m_dir, *m_vocabBox, m_vocab, *m_pickup, prompter(), this);
    m_editor = std::make_unique<DictionaryEditor>(
        m_dir,
        DictionaryEditor::Controls{*m_vocabBox, *m_lstVocab, *m_lstDictionary, *m_txtCommand},
        m_vocab, prompter(), [this] { NewVocabulary(); });
    connectActions();
    connectLists();
    restoreGeometry(ProgramSettings::windowPosition(kWindowKey));
}

frmVocab::~frmVocab() = default;

ListBox &frmVocab::vocabularyList()
{
    return *m_vocabBox;
}

Prompter &frmVocab::prompter() const
{
    return m_windows.context().services.prompter;
}

void frmVocab::buildControls()
{
    auto *container = named(new StretchContainer(kDesignSize), "strVocab");
    setCentralWidget(container);
    m_lstVocab = named(new VocabularyList, "lstVocab");
    m_lstDictionary = named(new DictionaryList, "lstDictionary");
    m_lblVocab = named(new QLabel(QStringLiteral("lblVocab")), "lblVocab");
    m_lblVocab->hide(); // the carrier of a drag: only its outline is ever seen
    m_txtCommand = named(new QLineEdit, "txtCommand");
    m_cmdSaveChanges = named(new QPushButton(QStringLiteral("&Save Changes")), "cmdSaveChanges");
    m_cmdToggle = named(new QPushButton(QStringLiteral("Application/&Vocabulary")), "cmdToggle");
    m_cmdCloseVocab = named(new QPushButton(QStringLiteral("&Close")), "cmdCloseVocab");

    const std::pair<QWidget *, QRect> controls[] = {
        {labelFor(m_lstVocab, "lblVocabList", QStringLiteral("Vocabularies:")),
         designRect(120, 720, 2655, 255)},
        {m_lstVocab, designRect(120, 960, 4455, 2400)},
        {labelFor(m_lstDictionary, "lblDictionary", QStringLiteral("Dictionary:")),
         designRect(4800, 720, 2655, 255)},
        {m_lstDictionary, designRect(4800, 960, 4455, 2400)},
        {labelFor(m_txtCommand, "lblEditVocab", QStringLiteral("Edit Command:")),
         designRect(120, 3480, 2655, 255)},
        {m_txtCommand, designRect(120, 3720, 4455, 285)},
        {m_cmdSaveChanges, designRect(4800, 3480, 2175, 495)},
        {m_cmdToggle, designRect(7200, 3480, 2055, 495)},
        {m_cmdCloseVocab, designRect(7200, 4080, 2055, 615)},
        {m_lblVocab, designRect(3360, 600, 735, 255)},
    };
    for (const auto &[control, rect] : controls)
        container->addControl(control, rect);
    container->fitContents();
    m_lstVocab->acceptWordsFrom(m_lstDictionary);
    m_vocabBox = std::make_unique<ListWidgetBox>(*m_lstVocab);
    m_dictionaryBox = std::make_unique<ListWidgetBox>(*m_lstDictionary);
    resize(container->designPixelSize() +
           QSize(0, menuBar()->sizeHint().height() + m_actions.tbrVocab->sizeHint().height()));
}

void frmVocab::setTabOrderAndNames()
{
    const QList<QWidget *> order{m_cmdToggle,  m_lstDictionary,  m_lstVocab,
                                 m_txtCommand, m_cmdSaveChanges, m_cmdCloseVocab};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    m_cmdToggle->setFocus();
    m_txtCommand->installEventFilter(this);
}

void frmVocab::connectActions()
{
    const VocabWindowActions &a = m_actions;
    for (QAction *action : {a.mnuNewVocab, a.tbNewVocab})
        connect(action, &QAction::triggered, this, &frmVocab::NewVocabulary);
    for (QAction *action : {a.mnuDeleteVocab, a.tbDelVocab})
        connect(action, &QAction::triggered, this, &frmVocab::VocabularyDelete);
    DictionaryEditor *editor = m_editor.get();
    connect(a.mnuSaveChanges, &QAction::triggered, this, [editor] { editor->SaveWord(); });
    const auto saveAndRefresh = [this] {
        m_editor->SaveWord();
        loadWords(selectedVocabulary());
    };
    connect(a.tbSvCh, &QAction::triggered, this, saveAndRefresh);
    connect(m_cmdSaveChanges, &QPushButton::clicked, this, saveAndRefresh);
    for (QAction *action : {a.mnuDicSelAll, a.tbSelDict})
        connect(action, &QAction::triggered, this, [this] { m_pickup->selectAll(); });
    for (QAction *action : {a.mnuPopNew, a.tbNewDict})
        connect(action, &QAction::triggered, this, [editor] { editor->NewWord(); });
    connect(a.tbDelDict, &QAction::triggered, this, &frmVocab::DictionaryDelete);
    connect(a.mnuDelete, &QAction::triggered, this, [editor] { editor->deleteFromMenu(); });
    connect(a.mnuCopyWords, &QAction::triggered, this, [editor] { editor->copyWordsTo(); });
    connect(a.tbSwitch, &QAction::triggered, this, &frmVocab::switchToApplications);
    connect(m_cmdToggle, &QPushButton::clicked, this, &frmVocab::switchToApplications);
    for (QAction *action : {a.mnuJEVHelp, a.tbHelp})
        connect(action, &QAction::triggered, this, &frmVocab::showHelp);
    connect(a.mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(m_cmdCloseVocab, &QPushButton::clicked, this, &QWidget::close);
}

void frmVocab::connectLists()
{
    connect(m_lstVocab, &QListWidget::itemSelectionChanged, this, &frmVocab::vocabularyClick);
    // After a drop the target is selected while the word list shows the words dragged: a click
    // on the target shows its words.
    connect(m_lstVocab, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (item->text() != m_shownVocabulary)
            vocabularyClick();
    });
    connect(m_lstVocab, &VocabularyList::rightPressed, m_actions.mnuFile,
            [this](const QPoint &at) { m_actions.mnuFile->popup(at); });
    connect(m_lstVocab, &VocabularyList::rightReleased, m_actions.mnuEdit,
            [this](const QPoint &at) { m_actions.mnuEdit->popup(at); });
    connect(m_lstVocab, &VocabularyList::wordsDraggedOver, m_drop, &WordDrop::dragOver);
    connect(m_lstVocab, &VocabularyList::wordsDropped, m_drop, &WordDrop::drop);
    connect(m_lstDictionary, &DictionaryList::leftPressed, this, &frmVocab::leftPress);
    connect(m_lstDictionary, &DictionaryList::wordClicked, this, &frmVocab::wordClick);
    connect(m_lstDictionary, &DictionaryList::keyReleased, this,
            [this] { m_pickup->keyRelease(); });
    connect(m_lstDictionary, &DictionaryList::selectAllWanted, this,
            [this] { m_pickup->selectAll(); });
    connect(m_lstDictionary, &DictionaryList::popupMenuWanted, this, [this](const QPoint &at) {
        if (m_lstDictionary->currentItem())
            m_actions.mnuEdit->popup(at);
    });
    connect(m_lstDictionary, &DictionaryList::dragEnded, this, &frmVocab::dragEnded);
}

void frmVocab::dragEnded(Qt::DropAction action)
{
    if (action != Qt::IgnoreAction)
        return; // dropped on the vocabulary list, which copies the words
    // Let go anywhere else (or Esc): nothing was copied, and nothing of the drag stays behind.
    m_pickup->forget();
    const QList<QListWidgetItem *> shown =
        m_lstVocab->findItems(m_shownVocabulary, Qt::MatchExactly);
    m_drop->dragEndedElsewhere(shown.isEmpty() ? -1 : m_lstVocab->row(shown.first()));
}

void frmVocab::DictionaryDelete()
{
    m_editor->DictionaryDelete();
}

bool frmVocab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtCommand && event->type() == QEvent::FocusIn)
        m_txtCommand->selectAll(); // however the edit box is reached, its text is selected
    return QMainWindow::eventFilter(watched, event);
}

QString frmVocab::selectedVocabulary() const
{
    const int selected = m_vocabBox->selectedIndex();
    return selected >= 0 ? m_vocabBox->item(selected) : QString();
}

void frmVocab::vocabularyClick()
{
    if (m_drop->suppressVocabClick() || m_vocabBox->count() == 0)
        return;
    if (m_vocabBox->selectedIndex() < 0) {
        m_vocabBox->setSelectedIndex(0); // which comes back here and shows line 0
        return;
    }
    loadWords(selectedVocabulary());
}

void frmVocab::loadWords(const QString &name)
{
    m_dictionaryBox->clear();
    m_txtCommand->clear();
    m_shownVocabulary = name;
    if (name.isEmpty())
        return; // no vocabulary: no file is opened or made for it
    const Vocabularies::Words words = Vocabularies(m_dir).words(name);
    if (!words.result.isDone()) // the words before a damaged record are still shown
        qCDebug(lcWindows) << "words of" << name << words.result.text << words.result.detail;
    m_lstDictionary->addItems(words.words);
    if (m_lstDictionary->count() > 0) // a list with lines has a current line
        m_lstDictionary->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void frmVocab::wordClick()
{
    m_pickup->wordClick();
    const QListWidgetItem *current = m_lstDictionary->currentItem();
    if (current && current->isSelected())
        m_txtCommand->setText(current->text());
}

void frmVocab::leftPress(int y)
{
    if (m_pickup->leftPress(y))
        return;
    // Shown after the press, so that the message box does not take the mouse button's release.
    QMetaObject::invokeMethod(
        this,
        [this] {
            prompter().showMessage(QStringLiteral("Please Select A Dictionary Word!"),
                                   QStringLiteral("Dictionary Error"), Prompter::Icon::Information);
        },
        Qt::QueuedConnection);
}

void frmVocab::NewVocabulary()
{
    const QString newVocabName = prompter()
                                     .askText(QStringLiteral("Enter Name of New Vocabulary: "),
                                              QStringLiteral("New Vocabulary"))
                                     .value_or(QString());
    if (newVocabName.isEmpty())
        return;
    const EditResult result = Vocabularies(m_dir).create(newVocabName);
    result.show(prompter()); // a name listed already (case ignored), the 31st, a bad file name
    if (!result.isDone())
        return;
    m_vocabBox->clear(); // none is selected afterwards; the word list keeps its lines
    m_vocab.FillVocabFile(true);
}

void frmVocab::VocabularyDelete()
{
    if (!prompter().askOkCancel(
            QStringLiteral("Warning!  You Are About to Remove A File From Your Hard Drive!"),
            QStringLiteral("Vocabulary File Deletion"), Prompter::Icon::Critical))
        return;
    const int selected = m_vocabBox->selectedIndex();
    const EditResult result = Vocabularies(m_dir).remove(selectedVocabulary());
    result.show(prompter()); // with none selected: "You Must Select A Vocabulary First!"
    if (result.isDone())
        m_vocabBox->removeItem(selected); // the word list keeps showing its words
}

void frmVocab::switchToApplications()
{
    frmApp &app = m_windows.app();
    hide();
    m_windows.context().services.runningApps.FillRunningApps(app.runningApps());
    app.applications().clear();
    app.vocabularyNames().clear();
    m_vocabBox->clear();
    CVocab(m_dir, {m_vocabBox.get(), nullptr, &app.vocabularyNames()}).FillVocabFile(false);
    CApp(m_dir, m_windows.context().services, &app.applications()).FillVACListBox();
    if (app.applications().count() > 0)
        app.applications().setSelectedIndex(0);
    m_switched = true;
    quitModal(); // the application window shows itself again
}

void frmVocab::showHelp()
{
    CHelp(this).Show(m_dir + QStringLiteral("/jevhelp.chm"));
}

void frmVocab::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}

void frmVocab::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_drop->timer().stop();
    Vocabularies(m_dir).writeGrammar().show(prompter());
    if (frmApp *app = m_windows.loadedApp())
        app->applications().clear();
    // A window that was loaded but never shown has no position of its own to keep.
    if (m_shown)
        ProgramSettings::setWindowPosition(kWindowKey, saveGeometry());
    hide();
    quitModal();
}

bool frmVocab::showModal()
{
    m_shown = true;
    m_switched = false;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
    return m_switched && !m_unloaded;
}

void frmVocab::quitModal()
{
    if (m_modalLoop)
        m_modalLoop->quit();
}
