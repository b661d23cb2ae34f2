#pragma once

#include "Recognizer.h"
#include "SphinxEngine.h"
#include "audio/AudioSource.h"

#include <QMutex>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

// The recognizer on PocketSphinx. A worker thread reads the audio source and decodes; its
// events are handed to the owner's thread through the event queue.
class SphinxRecognizer : public Recognizer
{
    Q_OBJECT

public:
    // voiceLevel: asked at every Activate for the level the user speaks at (see
    // SpeechEngineOptions::voiceLevel), as the sound meter window may have changed it; empty:
    // the level of options stays.
    explicit SphinxRecognizer(std::unique_ptr<AudioSource> source,
                              const SphinxEngine::Options &options = SphinxEngine::Options(),
                              std::function<int()> voiceLevel = {}, QObject *parent = nullptr);
    ~SphinxRecognizer() override;

    bool LoadGrammarFile(const QString &path, QString *error = nullptr) override;
    bool Activate(QString *error = nullptr) override;
    void Deactivate() override;
    bool isActive() const override { return m_active; }

    // The phrases the last LoadGrammarFile left out, one line each.
    QStringList grammarWarnings() const { return m_warnings; }

private:
    void listen();
    void setInputCondition(InputCondition condition);

    std::unique_ptr<AudioSource> m_source;
    std::function<int()> m_voiceLevel;
    SphinxEngine m_engine;
    QMutex m_engineMutex; // the worker decodes while a reload may replace the grammar
    std::unique_ptr<QThread> m_worker;
    std::atomic_bool m_stop = false;
    // Bumped by every grammar load; results of an older grammar are dropped.
    std::atomic_int m_generation = 0;
    bool m_active = false;
    InputCondition m_inputCondition = InputCondition::Normal;
    QStringList m_warnings;
};
