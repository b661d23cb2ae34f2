#pragma once

#include "AppWindowActions.h"
#include "ComboListBox.h"
#include "ListWidgetBox.h"
#include "data/CVocab.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class CApp;
class ConfigWindows;
class EntryList;
class Prompter;
class QComboBox;
class QEventLoop;
class QLabel;
class QLineEdit;
class QPushButton;
class frmVolSet;

// The application window: the voice-controlled applications on the left, the running
// applications on the right. A running application dragged onto the left list becomes an entry;
// its spoken name, vocabulary and path are typed below and saved. Every edit goes through the
// engine, which decides; the window shows the engine's messages. Closing it writes the grammar.
class frmApp : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmApp(ConfigWindows &windows, QWidget *parent = nullptr);
    ~frmApp() override;

    // The lists that the window's opener fills before it shows the window: lstRunApp,
    // lstVAppCmd and the list of cmbVocabulary.
    ListBox &runningApps() { return *m_runBox; }
    ListBox &applications() { return *m_appBox; }
    ListBox &vocabularyNames() { return *m_comboBox; }

    // Shows the window modally. Returns when it unloads, or when the user left it for the
    // vocabulary window and closed that one.
    void showModal();
    bool isUnloaded() const { return m_unloaded; }
    // Writes the grammar, empties the vocabulary lists, keeps the window's position and releases
    // the engine; closing through the frame does this without checking the entries.
    void unload();
    // Gives the list a horizontal scroll range of sngMultipleWidth times its width.
    void AddListBoxHSB(EntryList &lstIn, double sngMultipleWidth);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void connectActions();
    void setTabOrderAndNames();
    Prompter &prompter() const;
    void selectEntry(int position);
    void showEntry();
    void addRunningApp(const QString &entry);
    void addSelectedRunningApp();
    void saveCommand();
    void ShellSub();
    void shellApp();
    void activateProgram();
    void deleteEntry(bool ask);
    void switchToVocabulary();
    void soundMeter();
    void showPopupMenu(const QPoint &globalPos);
    void closeCommand();
    void quitModal();

    ConfigWindows &m_windows;
    QString m_dir;
    std::unique_ptr<CApp> m_app;
    CVocab m_vocab;
    AppWindowActions m_actions;
    EntryList *m_lstVAppCmd = nullptr;
    EntryList *m_lstRunApp = nullptr;
    QLabel *m_lblApp = nullptr;
    QLineEdit *m_txtVActivate = nullptr;
    QComboBox *m_cmbVocabulary = nullptr;
    QLineEdit *m_txtPath = nullptr;
    QPushButton *m_cmdSaveVocab = nullptr;
    QPushButton *m_cmdToggle = nullptr;
    QPushButton *m_cmdCloseApp = nullptr;
    std::unique_ptr<ListWidgetBox> m_runBox;
    std::unique_ptr<ListWidgetBox> m_appBox;
    std::unique_ptr<ComboListBox> m_comboBox;
    QPointer<frmVolSet> m_volSet;
    QEventLoop *m_modalLoop = nullptr;
    // The switch to the vocabulary window has been used since the window was loaded.
    bool m_switchedBefore = false;
    bool m_shown = false;
    bool m_unloaded = false;
};
