#pragma once

#include "engine/EngineServices.h"

#include <QString>
#include <memory>

class QWidget;
class Recognizer;
class SoundSources;
class VocabularyWindow;
class VuMeterBar;
class frmApp;
class frmVocab;

// The configuration windows of the speech window. Each is loaded (created, hidden) by its first
// use and released when it unloads, so that the next use starts afresh with empty lists. The
// speech window and the configuration windows reach one another here.
class ConfigWindows
{
public:
    // What the windows work with: the data directory, the engine's services, the speech
    // window's recognizer and level meter (for the sound meter), and the window that owns them.
    struct Context
    {
        QString programDir;
        EngineServices services;
        Recognizer &recognizer;
        VuMeterBar &meter;
        QWidget *owner = nullptr;
        // The sound server's sources, for the sound meter window's microphone choice.
        SoundSources *soundSources = nullptr;
    };

    explicit ConfigWindows(const Context &context);
    ~ConfigWindows();
    ConfigWindows(const ConfigWindows &) = delete;
    ConfigWindows &operator=(const ConfigWindows &) = delete;

    const Context &context() const { return m_context; }

    // The application window, loaded when it is not.
    frmApp &app();
    // Null when it is not loaded.
    frmApp *loadedApp();
    bool appVisible() const;
    // The vocabulary window, loaded when it is not.
    VocabularyWindow &vocabulary();
    // Null when it is not loaded.
    VocabularyWindow *loadedVocabulary();
    // Unloads the loaded windows, as when the program ends (the grammar is written then).
    void unloadAll();

private:
    Context m_context;
    std::unique_ptr<frmApp> m_app;
    std::unique_ptr<frmVocab> m_vocabulary;
};
