#pragma once

#include "engine/EngineServices.h"

#include <QQueue>
#include <QStringList>
#include <QWidget>
#include <memory>

class CApp;
class CFile;
class CVocab;
class ConfigWindows;
class GlobalShortcut;
class QLabel;
class QPushButton;
class QStatusBar;
class Recognizer;
class SoundSources;
class VuMeterBar;
class WindowSystem;
class frmWhatCanISay;
class QUrl;

// The speech window: always on top, it shows the input level and the last phrase, hands every
// recognized phrase to the engine, and is the listening switch (a click on the meter or Alt+F1).
class frmJev : public QWidget
{
    Q_OBJECT

public:
    // listeningKey: the global key that switches listening like a meter click; soundSources:
    // the microphones the sound meter window offers; none in tests that do not need them.
    frmJev(const QString &programDir, const EngineServices &services, Recognizer &recognizer,
           GlobalShortcut *listeningKey = nullptr, SoundSources *soundSources = nullptr,
           QWidget *parent = nullptr);
    ~frmJev() override;

    // The load steps; what went wrong is collected in startupProblems().
    void load();
    // Start-up problems, shown in the second status panel and once in a message box.
    QStringList startupProblems() const { return m_problems; }
    void tellStartupProblems();
    // On a first run (no applications, no vocabularies): offers the sample vocabularies, copies
    // them only when the user agrees, and says in the status bar what to do next.
    void offerSamples();

    VuMeterBar &meter() { return *m_meter; }
    bool meterToggle() const { return m_meterToggle; }
    bool pbClickState() const;
    // Asleep after "go to sleep": listening, but acting on nothing until "wake up".
    bool isAsleep() const { return m_asleep; }
    // The configuration windows, whose lists the speech window fills.
    ConfigWindows &configWindows() { return *m_windows; }

    // "What Can I Say", opened from the context menu or a link of the help ("jev:whatcanisay").
    frmWhatCanISay &whatCanISay();

public Q_SLOTS:
    void meterClick();
    void configureClick();
    void showWhatCanISay();
    // Links of the help book that ask for a window of the program.
    void openProgramLink(const QUrl &url);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildContextMenu();
    // Takes the listening key of the settings when it changed; the message when it cannot.
    QString grabListeningKey();
    void phraseRecognized(const QString &phrase);
    void dispatch(const QString &phrase);
    bool handledBySleep(const QString &phrase);
    void endSleep();
    void levelChanged(int level);
    // Starts listening; what went wrong is shown and leaves listening off for the next click.
    void activate();
    void tellListeningProblem(const QString &message);
    bool configurationVisible() const;
    void fillApplicationList();
    QString grammarPath() const;
    void ensureGrammar();
    QString writeGrammar();

    QString m_programDir;
    EngineServices m_services;
    Recognizer &m_recognizer;
    GlobalShortcut *m_listeningKey;
    QString m_askedKeys;
    std::unique_ptr<CFile> m_file;
    std::unique_ptr<CApp> m_app;
    std::unique_ptr<CVocab> m_vocab;
    VuMeterBar *m_meter = nullptr;
    QPushButton *m_cmdConfigure = nullptr;
    QStatusBar *m_stbVCmd = nullptr;
    QLabel *m_phrasePanel = nullptr;
    QLabel *m_problemPanel = nullptr;
    std::unique_ptr<ConfigWindows> m_windows;
    frmWhatCanISay *m_whatCanISay = nullptr;
    bool m_meterToggle = false;
    bool m_configShownBefore = false;
    bool m_dispatching = false;
    bool m_firstRun = false;
    bool m_asleep = false;
    // Phrases heard while an earlier one was being handled, in the order heard.
    QQueue<QString> m_pendingPhrases;
    QStringList m_problems;
    // The microphone's last message in the status bar, cleared when listening starts.
    QString m_listeningProblem;
};
