#include "frmJev.h"

#include "SampleOffer.h"
#include "VuMeterBar.h"
#include "config/ConfigWindows.h"
#include "config/ProgramSettings.h"
#include "config/StretchContainer.h"
#include "config/VocabularyWindow.h"
#include "config/frmApp.h"
#include "data/CFile.h"
#include "data/CVocab.h"
#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "engine/CApp.h"
#include "engine/RunningApps.h"
#include "engine/SampleVocabularies.h"
#include "engine/Vocabularies.h"
#include "frmWhatCanISay.h"
#include "platform/GlobalShortcut.h"
#include "platform/Prompter.h"
#include "platform/WindowSystem.h"
#include "recognizer/Recognizer.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString kWindowKey = QStringLiteral("frmJev");
const QString kSleeping = QStringLiteral("Sleeping");

} // namespace

frmJev::frmJev(const QString &programDir, const EngineServices &services, Recognizer &recognizer,
               GlobalShortcut *listeningKey, SoundSources *soundSources, QWidget *parent)
    : QWidget(parent), m_programDir(programDir), m_services(services), m_recognizer(recognizer),
      m_listeningKey(listeningKey)
{
    setObjectName(QStringLiteral("frmJev"));
    setWindowTitle(QStringLiteral("JEV! Voice Control"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildControls();
    buildContextMenu();
    m_windows = std::make_unique<ConfigWindows>(
        ConfigWindows::Context{programDir, services, recognizer, *m_meter, this, soundSources});
    connect(&m_recognizer, &Recognizer::PhraseRecognized, this, &frmJev::phraseRecognized);
    connect(&m_recognizer, &Recognizer::LevelChanged, this, &frmJev::levelChanged);
    // Listening that stopped by itself is off as if the user switched it off: one click resumes.
    connect(&m_recognizer, &Recognizer::listeningFailed, this, [this](const QString &message) {
        tellListeningProblem(message);
        m_meter->setLevel(0);
        m_meterToggle = true;
        endSleep();
    });
    connect(&m_recognizer, &Recognizer::listeningNotice, this, &frmJev::tellListeningProblem);
    connect(&m_recognizer, &Recognizer::inputConditionChanged, m_meter,
            &VuMeterBar::setInputCondition);
}

frmJev::~frmJev()
{
    if (m_listeningKey)
        m_listeningKey->release();
    QDesktopServices::unsetUrlHandler(QStringLiteral("jev"));
}

void frmJev::buildContextMenu()
{
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *whatCanISay = new QAction(QStringLiteral("What Can I &Say"), this);
    whatCanISay->setObjectName(QStringLiteral("mnuWhatCanISay"));
    whatCanISay->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F2));
    whatCanISay->setShortcutContext(Qt::WindowShortcut);
    connect(whatCanISay, &QAction::triggered, this, &frmJev::showWhatCanISay);
    addAction(whatCanISay);
    QDesktopServices::setUrlHandler(QStringLiteral("jev"), this, "openProgramLink");
}

frmWhatCanISay &frmJev::whatCanISay()
{
    if (!m_whatCanISay)
        m_whatCanISay = new frmWhatCanISay(*m_app, m_services.runningApps, this);
    return *m_whatCanISay;
}

void frmJev::showWhatCanISay()
{
    if (!m_app)
        return; // not loaded yet: there is nothing to list
    whatCanISay().show();
    whatCanISay().raise();
}

void frmJev::openProgramLink(const QUrl &url)
{
    if (url.path() == QLatin1String("whatcanisay"))
        showWhatCanISay();
}

void frmJev::buildControls()
{
    auto *container = new StretchContainer(QSize(2955, 795), this);
    container->setObjectName(QStringLiteral("strJev"));
    m_meter = new VuMeterBar;
    m_cmdConfigure = new QPushButton(QStringLiteral("&Configure"));
    m_cmdConfigure->setObjectName(QStringLiteral("cmdConfigure"));
    m_stbVCmd = new QStatusBar;
    m_stbVCmd->setObjectName(QStringLiteral("stbVCmd"));
    m_stbVCmd->setSizeGripEnabled(false);
    m_phrasePanel = new QLabel;
    m_phrasePanel->setObjectName(QStringLiteral("stbVCmdPhrase"));
    m_problemPanel = new QLabel;
    m_problemPanel->setObjectName(QStringLiteral("stbVCmdProblems"));
    m_stbVCmd->addWidget(m_phrasePanel, 1);
    m_stbVCmd->addPermanentWidget(m_problemPanel);
    container->addControl(m_meter, QRect(0, 120, 1815, 255));
    container->addControl(m_cmdConfigure, QRect(1920, 120, 975, 315));
    container->addControl(m_stbVCmd, QRect(0, 480, 2835, 255));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    resize(container->designPixelSize() * 2);

    connect(m_meter, &VuMeterBar::clicked, this, &frmJev::meterClick);
    connect(m_cmdConfigure, &QPushButton::clicked, this, &frmJev::configureClick);
    // Alt+F1 works whichever control has the focus; F1 alone is left alone.
    auto *altF1 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F1), this);
    altF1->setContext(Qt::WindowShortcut);
    connect(altF1, &QShortcut::activated, this, &frmJev::meterClick);
}

QString frmJev::grammarPath() const
{
    return DataFiles::grammarPath(m_programDir);
}

bool frmJev::pbClickState() const
{
    return m_app && m_app->PBClickState();
}

void frmJev::load()
{
    m_file = std::make_unique<CFile>(m_programDir);
    m_app = std::make_unique<CApp>(m_programDir, m_services);
    m_vocab = std::make_unique<CVocab>(m_programDir);
    m_firstRun = SampleVocabularies::isFirstRun(m_programDir);
    if (QString problem; !DataDirectory::prepare(m_programDir, &problem))
        m_problems.append(problem);
    restoreGeometry(ProgramSettings::windowPosition(kWindowKey));
    fillApplicationList();
    if (const auto error = m_app->lastError())
        m_problems.append(DataFiles::appListFileName() + QStringLiteral(": ") + error->message());
    ensureGrammar();
    QString error;
    if (!m_recognizer.LoadGrammarFile(grammarPath(), &error)) {
        m_problems.append(error);
    } else if (!m_recognizer.Activate(&error)) {
        m_problems.append(error);
        // Off as if switched off: the click that the message asks for starts listening.
        m_listeningProblem = error;
        m_meterToggle = true;
    }
    m_meter->setFullScale(ProgramSettings::fullScale());
    if (const QString problem = grabListeningKey(); !problem.isEmpty())
        m_problems.append(problem);
    QString reason;
    if (!m_services.windows.isAvailable(&reason))
        m_problems.append(reason + QStringLiteral(" Switching to applications and sending "
                                                  "keystrokes do not work."));
    else if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        m_problems.append(QStringLiteral(
            "This is a Wayland session: only programs that run through XWayland can be switched "
            "to and sent keystrokes."));
    m_services.runningApps.FillRunningApps(m_windows->app().runningApps());
    m_problemPanel->setText(m_problems.isEmpty() ? m_listeningProblem : m_problems.first());
    m_problemPanel->setToolTip(m_problems.join(QLatin1Char('\n')));
}

// Fills the application window's list from VAppCmd.txt; this loads the window, hidden.
void frmJev::fillApplicationList()
{
    m_app->setAppList(&m_windows->app().applications());
    m_app->FillVACListBox();
    m_app->setAppList(nullptr);
}

// On a first run there is no grammar yet: it is written now, so that the program listens for
// "switch to" and the application names from the start.
void frmJev::ensureGrammar()
{
    if (QFileInfo::exists(grammarPath()))
        return;
    if (const QString error = writeGrammar(); !error.isEmpty())
        m_problems.append(error);
}

QString frmJev::writeGrammar()
{
    return Vocabularies(m_programDir).writeGrammar().text;
}

void frmJev::tellStartupProblems()
{
    if (m_problems.isEmpty())
        return;
    m_services.prompter.showMessage(m_problems.join(QStringLiteral("\n\n")), kProgramTitle,
                                    Prompter::Icon::Warning);
}

void frmJev::offerSamples()
{
    if (std::exchange(m_firstRun, false))
        SampleOffer::offer(m_programDir, m_services.prompter, *m_phrasePanel);
}

void frmJev::phraseRecognized(const QString &phrase)
{
    // A message box shown while a phrase is handled runs its own event loop; a phrase that comes
    // meanwhile must not start a second dispatch on the same engine. It waits its turn instead.
    m_pendingPhrases.enqueue(phrase);
    if (m_dispatching)
        return;
    const QScopedValueRollback<bool> dispatching(m_dispatching, true);
    while (!m_pendingPhrases.isEmpty())
        dispatch(m_pendingPhrases.dequeue());
}

void frmJev::dispatch(const QString &phrase)
{
    if (handledBySleep(phrase))
        return;
    if (m_app->AppCheck(phrase) != 1)
        m_app->VocabCheck(phrase);
    m_services.runningApps.FillRunningApps(m_windows->app().runningApps());
    m_phrasePanel->setText(phrase);
    m_phrasePanel->setToolTip({});
}

// The one place that decides what sleeping does: "go to sleep" stops acting on phrases without
// closing the microphone, and while asleep every phrase but "wake up" is ignored. The status bar
// keeps saying "Sleeping" (a phrase shown there would look carried out); what was heard goes to
// its tool tip. The two phrases are the recognizer's own, never commands. True when the phrase
// is done with here.
bool frmJev::handledBySleep(const QString &phrase)
{
    if (phrase == Recognizer::wakePhrase()) {
        endSleep();
        m_phrasePanel->setText(phrase); // shown like every phrase
        m_phrasePanel->setToolTip({});
        return true;
    }
    const QString wake =
        QStringLiteral("Say \"%1\" to act on commands again.").arg(Recognizer::wakePhrase());
    if (m_asleep) {
        m_phrasePanel->setToolTip(
            QStringLiteral("Heard while sleeping, not acted on: \"%1\". ").arg(phrase) + wake);
        return true;
    }
    if (phrase != Recognizer::sleepPhrase())
        return false;
    m_asleep = true;
    m_phrasePanel->setText(kSleeping);
    m_phrasePanel->setToolTip(wake);
    return true;
}

// Sleeping belongs to one stretch of listening: a click on the meter, the listening key, Configure
// or a lost microphone ends it, so that listening switched on again always acts on commands.
void frmJev::endSleep()
{
    if (!std::exchange(m_asleep, false))
        return;
    m_phrasePanel->clear();
    m_phrasePanel->setToolTip({});
}

void frmJev::levelChanged(int level)
{
    m_meter->setLevel(level);
}

void frmJev::activate()
{
    // A problem of the last try is over once listening starts; a notice may replace it.
    if (!m_listeningProblem.isEmpty() && m_problemPanel->text() == m_listeningProblem)
        m_problemPanel->clear();
    m_listeningProblem.clear();
    QString error;
    if (m_recognizer.Activate(&error))
        return;
    tellListeningProblem(error);
    // Off as if switched off: the next click tries again.
    m_meterToggle = true;
}

void frmJev::tellListeningProblem(const QString &message)
{
    m_listeningProblem = message;
    m_problemPanel->setText(message);
}

bool frmJev::configurationVisible() const
{
    return m_windows->appVisible();
}

void frmJev::meterClick()
{
    QString error;
    if (!m_recognizer.LoadGrammarFile(grammarPath(), &error))
        m_problemPanel->setText(error); // the previous grammar stays in use
    endSleep();
    m_meterToggle = !m_meterToggle;
    if (configurationVisible())
        return;
    if (m_meterToggle) {
        m_recognizer.Deactivate();
        if (m_app->PBClickState()) {
            m_meterToggle = false;
            activate();
            m_app->setPBClickState(false);
        } else {
            m_meter->setLevel(0);
        }
    } else {
        activate();
        m_app->setPBClickState(false);
    }
}

void frmJev::configureClick()
{
    m_meter->setLevel(0);
    m_recognizer.Deactivate();
    endSleep();
    frmApp &window = m_windows->app();
    m_services.runningApps.FillRunningApps(window.runningApps());
    if (m_configShownBefore) {
        window.applications().clear();
        fillApplicationList();
    } else {
        m_configShownBefore = true;
    }
    ListBox &vocabularies = m_windows->vocabulary().vocabularyList();
    vocabularies.clear();
    window.vocabularyNames().clear();
    m_vocab->setLists({&vocabularies, nullptr, &window.vocabularyNames()});
    m_vocab->FillVocabFile(false);
    m_vocab->setLists({});
    window.applications().setSelectedIndex(0);
    if (m_meter->level() == 0)
        m_app->setPBClickState(true);
    // The window writes the grammar when it unloads; listening stays off until the next click.
    window.showModal();
    // The listening key may have been changed in the sound meter window.
    if (const QString problem = grabListeningKey(); !problem.isEmpty()) {
        m_problemPanel->setText(problem);
        m_services.prompter.showMessage(problem, kProgramTitle, Prompter::Icon::Warning);
    }
}

QString frmJev::grabListeningKey()
{
    const QString keys = ProgramSettings::listeningKey();
    // A combination is asked for once: one that failed is told once, not at every close.
    if (!m_listeningKey || keys == m_askedKeys)
        return {};
    m_askedKeys = keys;
    m_listeningKey->release();
    QString error;
    // The key does what a click on the meter does, whichever window has the focus.
    if (!keys.isEmpty() && !m_listeningKey->grab(
                               keys, [this] { meterClick(); }, &error))
        return error;
    return {};
}

void frmJev::closeEvent(QCloseEvent *event)
{
    ProgramSettings::setWindowPosition(kWindowKey, saveGeometry());
    m_recognizer.Deactivate();
    // The configuration windows write the grammar as they unload.
    if (m_file)
        m_windows->unloadAll();
    event->accept();
}
