#pragma once

#include "ApplicationList.h"
#include "data/AppError.h"
#include "data/CFile.h"
#include "data/VAppCmdRecord.h"
#include "engine/EngineServices.h"
#include "platform/WindowSystem.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <memory>
#include <optional>

class ListBox;

// The voice command engine: turns a recognized phrase into an action (switch to an application's
// window, start it, send keystrokes to the application in front), and edits the application list
// VAppCmd.txt for the configuration window (record n is list entry n - 1).
class CApp
{
public:
    CApp(const QString &programDir, const EngineServices &services, ListBox *lstVAppCmd = nullptr);
    ~CApp();

    // 1 when sPhrase is an application's spoken name and that application was brought to the
    // front or started; 0 otherwise. Names compare exactly.
    qint16 AppCheck(const QString &sPhrase);
    // 2 when sPhrase is a word of the vocabulary of the application in front and its keystrokes
    // were sent; 0 otherwise. Nothing is sent to a window whose title contains "JEV", nor when no
    // window is in front. A window whose title changed since its record was added keeps its
    // record (unless titles must match exactly); right after a program was started by its name,
    // the phrase waits a moment for the program's window.
    qint16 VocabCheck(const QString &sPhrase);

    // What can be said while this window is in front: every spoken name, with the entry it
    // switches to, and the words ("phrase:keystrokes") of the vocabulary VocabCheck would use for
    // it. No words for the program's own windows, which are never sent keystrokes.
    struct Sayable
    {
        QList<std::pair<QString, QString>> spokenNames; // spoken name, entry "class ¦ title"
        QString vocabulary;                             // empty when no vocabulary applies
        QStringList words;
    };
    Sayable WhatCanBeSaid(WindowId front);
    // The program's own windows carry "JEV" in their titles.
    static bool isOwnWindowTitle(const QString &title);
    // Opens PathName: as a folder when the spoken name holds "explore ", else as a document or
    // program. Failures are told with their number.
    void ShellApp();
    // -1 on success, else the failure's number: 2 file not found, 3 path not found, 5 access
    // denied, 31 nothing opens it.
    qint32 LaunchDocument(WindowId lnghWnd, const QString &strDocument, const QString &strStartIn,
                          qint32 eShowStyle = 1);
    qint32 Explore(WindowId lnghWnd, const QString &strFolder, qint32 eShowStyle = 1);
    // Brings the window of an entry "class ¦ title" to the front; nothing is started.
    void SetForeground(const QString &sComputer);
    QString ClassName() const { return m_className; }
    void setClassName(const QString &name) { m_className = name; }
    QString WindowText() const { return m_windowText; }
    void setWindowText(const QString &text) { m_windowText = text; }
    WindowId LastActivatedWindow() const { return m_lastActivatedWindow; }
    // Why the last VocabCheck sent nothing although the phrase was found, if it failed.
    QString lastKeystrokeError() const { return m_keystrokeError; }

    void setAppList(ListBox *lstVAppCmd) { m_lstVAppCmd = lstVAppCmd; }

    // Appends the AppName of every record to lstVAppCmd, stopping at the first empty one. A
    // record that cannot be read also stops it, so that list positions keep matching records;
    // lastError() then tells what was wrong.
    void FillVACListBox();
    // The error that ended the last FillVACListBox or DelRunApp, with its detail.
    std::optional<AppError> lastError() const;
    // Appends a record after the last non-empty one: sAppName + "*", or sAppName unchanged when
    // bCreateFromNew.
    void VAppAdd(const QString &sAppName, qint16 iRecNumber = 0, bool bCreateFromNew = false);
    // Parses record iRecord + 1 into UserName, VocabularyName and PathName; returns UserName.
    QString UserDefinedName(qint16 iRecord);
    // Rewrites the fields after the "*" of record iPosition + 1; sAppName is the spoken name.
    void AddUserAppName(const QString &sAppName, const QString &sVocabName,
                        const QString &sPathName, qint16 iPosition);
    // Fills the temporary store with every record but the one whose AppName is sSearchString:
    // record iRecordHint when it is that one, else the first such record.
    void AppCompare(const QString &sSearchString, qint16 iRecordHint = 0);
    void InitRecord() { m_file.InitRecord(); }
    qint16 AppRecordCount();
    // Empties the named data file (deleted, then created anew).
    void CreateNewFile(bool bVocabulary, const QString &sName);
    // Deletes the entry selected in lstVAppCmd from the list and from VAppCmd.txt.
    void DelRunApp();

    void VAppTempStore(const QString &stemp) { m_tempStore.append(stemp); }
    // Item iDataValue (from 1); raises error 9 outside the store.
    QString VAppTempRetrieve(qint16 iDataValue) const;
    void VAppTempClear() { m_tempStore.clear(); }
    int VAppTempCount() const { return int(m_tempStore.size()); }

    bool PBClickState() const { return m_pbClickState; }
    void setPBClickState(bool state) { m_pbClickState = state; }
    QString UserName() const { return m_userName; }
    void setUserName(const QString &name) { m_userName = name; }
    QString VocabularyName() const { return m_vocabularyName; }
    void setVocabularyName(const QString &name) { m_vocabularyName = name; }
    QString PathName() const { return m_pathName; }
    void setPathName(const QString &path) { m_pathName = path; }
    void UserCopy(const QString &sCopy) { m_userName = sCopy; }
    QString CurrentUserName() const { return m_currentUserName; }
    void setCurrentUserName(const QString &name) { m_currentUserName = name; }
    qint16 PlaceHolder(bool bRead, qint16 iListItem = 0);

    QString programDir() const { return m_file.programDir(); }

private:
    std::optional<VAppCmdRecord> recordNamed(const QString &sPhrase);
    std::optional<VAppCmdRecord> recordOfWindow(WindowId window);
    std::optional<QString> frontVocabulary(WindowId front);
    std::optional<QString> vocabularyOf(WindowId target,
                                        const std::optional<VAppCmdRecord> &targetRecord);
    WindowId awaitStartedWindow(WindowId front);
    qint16 sendWord(const QString &vocabulary, const QString &sPhrase);

    CFile m_file;
    // The rules of editing the list, which the list members below delegate to.
    ApplicationList m_apps;
    EngineServices m_services;
    ListBox *m_lstVAppCmd;
    QString m_recordText;
    QString m_userName;
    // The name ShellApp checks: the spoken name last parsed, or the record AddUserAppName wrote.
    QString m_currentUserName;
    QString m_className;
    QString m_windowText;
    WindowId m_lastActivatedWindow = 0;
    // Set when ShellApp started a program, so that AppCheck can wait for its window.
    bool m_shellStarted = false;
    // The class of the program AppCheck started, until the next phrase has found its window.
    QString m_startedClass;
    QDeadlineTimer m_startedClassExpiry;
    QString m_keystrokeError;
    QString m_vocabularyName;
    QString m_pathName;
    bool m_pbClickState = false;
    QStringList m_tempStore;
    std::unique_ptr<AppError> m_lastError;
};
