#include "CApp.h"

#include "data/AppError.h"
#include "data/DataFiles.h"
#include "data/ListBox.h"
#include "data/VAppCmdRecord.h"
#include "engine/EngineLog.h"
#include "engine/KeystrokeText.h"
#include "engine/RunningApps.h"
#include "engine/Vocabularies.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

#include <QDir>

CApp::CApp(const QString &programDir, const EngineServices &services, ListBox *lstVAppCmd)
    : m_file(programDir), m_apps(programDir), m_services(services), m_lstVAppCmd(lstVAppCmd)
{}

namespace {

// A phrase said this long after a start is no longer taken to be meant for the started program.
constexpr int kStartedProgramMs = 15000;

// What LaunchDocument and Explore return, and their messages print.
constexpr qint32 kShellSuccess = -1;
qint32 shellCode(ShellResult result)
{
    switch (result) {
    case ShellResult::Success:
        return kShellSuccess;
    case ShellResult::FileNotFound:
        return 2;
    case ShellResult::PathNotFound:
        return 3;
    case ShellResult::AccessDenied:
        return 5;
    case ShellResult::NoAssociation:
        break;
    }
    return 31;
}

} // namespace

qint16 CApp::AppCheck(const QString &sPhrase)
{
    // The data file is closed before anything is switched to or started: starting can show a
    // message box, during which other work may use the file.
    const std::optional<VAppCmdRecord> match = recordNamed(sPhrase);
    if (!match)
        return 0;
    const auto [className, title] = RunningApps::splitEntry(match->AppName);
    m_className = className;
    m_windowText = title;
    m_startedClass.clear();
    RunningApps &running = m_services.runningApps;
    if (!running.ForceForeground(running.findApplicationWindow(m_className, m_windowText))) {
        ShellApp();
        if (m_shellStarted) {
            m_startedClass = m_className;
            m_startedClassExpiry.setRemainingTime(kStartedProgramMs);
        }
    }
    m_lastActivatedWindow = m_services.windows.foregroundWindow();
    return 1;
}

// The first record whose spoken name is sPhrase; the fields of each record read are kept.
std::optional<VAppCmdRecord> CApp::recordNamed(const QString &sPhrase)
{
    m_file.FileClose();
    m_file.InitRecord();
    m_file.FileOpen(false);
    DataChannelCloser closer(m_file);
    while (!m_file.atEnd()) {
        try {
            m_recordText = m_file.FileRead(m_file.RecordNumber());
        } catch (const AppError &e) {
            // An unreadable record is passed over: the names after it can still be spoken.
            qCDebug(lcEngine) << "AppCheck passed over record" << m_file.RecordNumber()
                              << e.message();
            m_file.IncrementRecord();
            continue;
        }
        if (const VAppCmdRecord record = VAppCmdRecord::parse(m_recordText); record.complete) {
            m_currentUserName = record.UserName;
            m_vocabularyName = record.VocabName;
            m_pathName = record.PathName;
            if (sPhrase.isEmpty())
                return std::nullopt;
            if (sPhrase == record.UserName)
                return record;
        }
        m_file.IncrementRecord();
    }
    return std::nullopt;
}

qint16 CApp::VocabCheck(const QString &sPhrase)
{
    m_keystrokeError.clear();
    WindowId front = m_services.windows.foregroundWindow();
    if (!m_startedClass.isEmpty())
        front = awaitStartedWindow(front);
    if (!front)
        return 0; // nothing is in front: keys would go wherever the input focus happens to be
    try {
        const std::optional<QString> vocabulary = frontVocabulary(front);
        if (!vocabulary)
            return 0; // the window in front is no configured application: no words to use
        return sendWord(*vocabulary, sPhrase);
    } catch (const AppError &e) {
        // A damaged data file ends the lookup; the next phrase starts afresh.
        qCDebug(lcEngine) << "VocabCheck ended by" << e.number() << e.description();
        return 0;
    }
}

// The vocabulary whose words apply with this window in front; raises the data file's errors.
std::optional<QString> CApp::frontVocabulary(WindowId front)
{
    const std::optional<VAppCmdRecord> frontRecord = recordOfWindow(front);
    std::optional<QString> vocabulary;
    if (frontRecord ||
        m_services.runningApps.windowMatching() == RunningApps::WindowMatching::ClassFallback)
        vocabulary = vocabularyOf(front, frontRecord);
    if (!frontRecord && !vocabulary && m_lastActivatedWindow && m_lastActivatedWindow != front) {
        // The speech window itself may be in front: the words are those of the application
        // last switched to.
        vocabulary = vocabularyOf(m_lastActivatedWindow, recordOfWindow(m_lastActivatedWindow));
    }
    return vocabulary;
}

bool CApp::isOwnWindowTitle(const QString &title)
{
    return title.contains(QLatin1String("JEV"));
}

CApp::Sayable CApp::WhatCanBeSaid(WindowId front)
{
    Sayable sayable;
    for (const VAppCmdRecord &entry : m_apps.entries().entries) {
        if (entry.complete && !entry.UserName.isEmpty())
            sayable.spokenNames.append({entry.UserName, entry.AppName});
    }
    if (!front || isOwnWindowTitle(m_services.runningApps.windowTitle(front)))
        return sayable;
    try {
        sayable.vocabulary = frontVocabulary(front).value_or(QString());
    } catch (const AppError &e) {
        qCDebug(lcEngine) << "no words listed:" << e.number() << e.description();
    }
    if (!sayable.vocabulary.isEmpty())
        sayable.words = Vocabularies(programDir()).words(sayable.vocabulary).words;
    return sayable;
}

// The first record whose entry the running-application table holds for this window.
std::optional<VAppCmdRecord> CApp::recordOfWindow(WindowId window)
{
    m_file.InitRecord();
    m_file.FileOpen(false);
    DataChannelCloser closer(m_file);
    while (!m_file.atEnd()) {
        const VAppCmdRecord record = VAppCmdRecord::parse(m_file.FileRead(m_file.RecordNumber()));
        if (m_services.runningApps.RunningAppWindow(record.AppName) == window)
            return record;
        m_file.IncrementRecord();
    }
    return std::nullopt;
}

// The vocabulary of the record whose entry is the target window's "class ¦ title"; when the
// title has changed since the record was added, that of the record found for the window, else
// that of the first record of the window's class.
std::optional<QString> CApp::vocabularyOf(WindowId target,
                                          const std::optional<VAppCmdRecord> &targetRecord)
{
    RunningApps &running = m_services.runningApps;
    const QString className = running.windowClassName(target);
    const QString entry = RunningApps::entryText(className, running.windowTitle(target));
    std::optional<QString> sameClass;
    m_file.InitRecord();
    m_file.FileOpen(false);
    DataChannelCloser closer(m_file);
    while (!m_file.atEnd()) {
        const VAppCmdRecord record = VAppCmdRecord::parse(m_file.FileRead(m_file.RecordNumber()));
        m_vocabularyName = record.VocabName;
        if (record.AppName == entry)
            return record.VocabName;
        if (!sameClass && RunningApps::splitEntry(record.AppName).first == className)
            sameClass = record.VocabName;
        m_file.IncrementRecord();
    }
    if (running.windowMatching() == RunningApps::WindowMatching::ExactTitle)
        return std::nullopt;
    if (targetRecord)
        return targetRecord->VocabName;
    return className.isEmpty() ? std::nullopt : sameClass;
}

// The program started by the last spoken name may still be mapping its window: the first phrase
// after the start is meant for it, so it waits a moment for that window rather than typing into
// the one that was in front before. 0 when the window did not come.
WindowId CApp::awaitStartedWindow(WindowId front)
{
    const QString className = std::exchange(m_startedClass, QString());
    RunningApps &running = m_services.runningApps;
    if (m_startedClassExpiry.hasExpired() || running.windowClassName(front) == className)
        return front;
    const WindowId started = running.waitForWindowOfClass(className, running.startWaitMs());
    if (!started) {
        qCDebug(lcEngine) << "no window of" << className << "came after its start";
        return 0;
    }
    // A window manager that prevents focus stealing leaves a new window behind the old one.
    running.ForceForeground(started);
    m_lastActivatedWindow = m_services.windows.foregroundWindow();
    return m_lastActivatedWindow;
}

qint16 CApp::sendWord(const QString &vocabulary, const QString &sPhrase)
{
    m_file.InitRecord();
    m_file.FileOpen(true, vocabulary);
    DataChannelCloser closer(m_file);
    while (!m_file.atEnd()) {
        const QString line = m_file.FileRead(m_file.RecordNumber());
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            return 0; // a word without ":" cannot be split: the lookup ends here
        if (line.left(colon) == sPhrase) {
            // The program's own windows never receive keystrokes.
            const WindowId front = m_services.windows.foregroundWindow();
            if (isOwnWindowTitle(m_services.runningApps.windowTitle(front)))
                return 0;
            const QString keys = line.mid(colon + 1);
            return sendKeystrokeText(m_services.keys, keys, &m_keystrokeError) ? 2 : 0;
        }
        m_file.IncrementRecord();
    }
    return 0;
}

void CApp::ShellApp()
{
    m_shellStarted = false;
    if (m_currentUserName.contains(QLatin1String("explore "), Qt::CaseInsensitive)) {
        const qint32 result = Explore(0, m_pathName, 1);
        if (result != kShellSuccess)
            m_services.prompter.showMessage(QStringLiteral("Error on Explore: ") +
                                                QString::number(result),
                                            kProgramTitle, Prompter::Icon::None);
    } else if (!m_pathName.isEmpty()) {
        const qint32 result = LaunchDocument(0, m_pathName, QDir::currentPath(), 1);
        m_shellStarted = result == kShellSuccess;
        if (result != kShellSuccess)
            m_services.prompter.showMessage(QStringLiteral("Error on LaunchDocument: ") +
                                                QString::number(result),
                                            kProgramTitle, Prompter::Icon::None);
    }
}

qint32 CApp::LaunchDocument(WindowId lnghWnd, const QString &strDocument, const QString &strStartIn,
                            qint32 eShowStyle)
{
    Q_UNUSED(lnghWnd) // the started program gets its own window, shown normally
    Q_UNUSED(eShowStyle)
    return shellCode(m_services.shell.openDocument(strDocument, strStartIn));
}

qint32 CApp::Explore(WindowId lnghWnd, const QString &strFolder, qint32 eShowStyle)
{
    Q_UNUSED(lnghWnd)
    Q_UNUSED(eShowStyle)
    return shellCode(m_services.shell.exploreFolder(strFolder));
}

void CApp::SetForeground(const QString &sComputer)
{
    const auto [className, title] = RunningApps::splitEntry(sComputer);
    RunningApps &running = m_services.runningApps;
    running.ForceForeground(running.findApplicationWindow(className, title));
}

CApp::~CApp() = default;

std::optional<AppError> CApp::lastError() const
{
    if (!m_lastError)
        return std::nullopt;
    return *m_lastError;
}

void CApp::FillVACListBox()
{
    m_lastError.reset();
    const ApplicationList::Listing listing = m_apps.entries();
    for (int i = 0; i < listing.entries.size(); ++i) {
        if (m_lstVAppCmd)
            m_lstVAppCmd->insertItem(i, listing.entries.at(i).AppName);
    }
    // The cursor stays where the listing stopped, as the calling orders expect.
    m_file.setRecordNumber(qint16(listing.entries.size() + 1));
    if (listing.result.error)
        m_lastError = std::make_unique<AppError>(*listing.result.error);
}

void CApp::VAppAdd(const QString &sAppName, qint16 iRecNumber, bool bCreateFromNew)
{
    Q_UNUSED(iRecNumber) // the record goes to the first free slot, wherever the caller counted
    m_file.InitRecord();
    m_file.RecordCount(false);
    m_file.FileOpen(false);
    DataChannelCloser closer(m_file);
    m_file.FileStore(bCreateFromNew ? sAppName : VAppCmdRecord::justAdded(sAppName),
                     m_file.RecordNumber());
    m_file.IncrementRecord();
}

QString CApp::UserDefinedName(qint16 iRecord)
{
    const VAppCmdRecord record = m_apps.entry(iRecord);
    m_vocabularyName = record.VocabName;
    m_pathName = record.PathName;
    m_userName = record.UserName;
    m_currentUserName = record.UserName;
    return m_userName;
}

void CApp::AddUserAppName(const QString &sAppName, const QString &sVocabName,
                          const QString &sPathName, qint16 iPosition)
{
    m_file.FileOpen(false);
    DataChannelCloser closer(m_file);
    const qint16 record = qint16(iPosition + 1);
    const QString stored =
        VAppCmdRecord::withFields(m_file.FileRead(record), sAppName, sVocabName, sPathName);
    m_file.FileStore(stored, record);
    m_currentUserName = stored;
}

void CApp::AppCompare(const QString &sSearchString, qint16 iRecordHint)
{
    m_tempStore.clear(); // a file that cannot be read leaves the store empty
    m_tempStore = ApplicationList::recordsWithout(m_file.readAll(false, DataFiles::appListName()),
                                                  sSearchString, iRecordHint);
}

qint16 CApp::AppRecordCount()
{
    m_file.RecordCount(false);
    return m_file.RecordNumber();
}

void CApp::CreateNewFile(bool bVocabulary, const QString &sName)
{
    m_file.FileDelete(bVocabulary, sName);
    m_file.FileNew(bVocabulary, sName);
    m_file.FileClose();
}

void CApp::DelRunApp()
{
    m_lastError.reset();
    QStringList listed;
    for (int i = 0; m_lstVAppCmd && i < m_lstVAppCmd->count(); ++i)
        listed.append(m_lstVAppCmd->item(i));
    const int selected = m_lstVAppCmd ? m_lstVAppCmd->selectedIndex() : -1;
    const EditResult result = m_apps.remove(listed, selected);
    if (result.isDone()) {
        m_lstVAppCmd->removeItem(selected);
        m_file.setRecordNumber(qint16(listed.size())); // one past the records re-added
        return;
    }
    if (result.error)
        m_lastError = std::make_unique<AppError>(*result.error);
    result.show(m_services.prompter);
}

QString CApp::VAppTempRetrieve(qint16 iDataValue) const
{
    if (iDataValue < 1 || iDataValue > m_tempStore.size())
        RaiseAppError(AppErrorNumber::SubscriptOutOfRange);
    return m_tempStore.at(iDataValue - 1);
}

qint16 CApp::PlaceHolder(bool bRead, qint16 iListItem)
{
    if (bRead)
        return m_file.RecordNumber();
    m_file.setRecordNumber(iListItem);
    return 0;
}
