#include "SphinxRecognizer.h"

#include "GrammarFile.h"
#include "InputCheck.h"
#include "LevelMeter.h"

#include <QThread>
#include <QtDebug>

namespace {

// 20 ms of sound per read: short enough for a quick end of utterance.
constexpr int kReadSamples = SphinxEngine::SampleRate / 50;

} // namespace

SphinxRecognizer::SphinxRecognizer(std::unique_ptr<AudioSource> source,
                                   const SphinxEngine::Options &options,
                                   std::function<int()> voiceLevel, QObject *parent)
    : Recognizer(parent), m_source(std::move(source)), m_voiceLevel(std::move(voiceLevel)),
      m_engine(options)
{}

SphinxRecognizer::~SphinxRecognizer()
{
    Deactivate();
}

bool SphinxRecognizer::LoadGrammarFile(const QString &path, QString *error)
{
    GrammarFile file;
    if (!GrammarFile::read(path, &file, error))
        return false;
    const SpeechGrammar grammar(file.phrases, ownPhrases());
    {
        QMutexLocker lock(&m_engineMutex);
        if (!m_engine.setGrammar(grammar, error))
            return false;
        ++m_generation;
    }
    m_warnings = grammar.warnings();
    for (const QString &warning : std::as_const(m_warnings))
        qWarning().noquote() << warning;
    return true;
}

bool SphinxRecognizer::Activate(QString *error)
{
    if (m_active)
        return true;
    if (!m_engine.hasGrammar()) {
        if (error)
            *error = QStringLiteral("No grammar is loaded, so there is nothing to listen for.");
        return false;
    }
    if (!m_source->open(error))
        return false;
    m_engine.restart();
    if (m_voiceLevel)
        m_engine.setVoiceLevel(m_voiceLevel());
    m_stop = false;
    m_worker.reset(QThread::create([this] { listen(); }));
    m_worker->start();
    m_active = true;
    if (const QString notice = m_source->notice(); !notice.isEmpty())
        emit listeningNotice(notice);
    return true;
}

void SphinxRecognizer::Deactivate()
{
    if (!m_worker)
        return;
    m_active = false;
    m_stop = true;
    m_worker->wait();
    m_worker.reset();
    m_source->close();
    setInputCondition(InputCondition::Normal);
}

void SphinxRecognizer::setInputCondition(InputCondition condition)
{
    if (condition == m_inputCondition)
        return;
    m_inputCondition = condition;
    emit inputConditionChanged(condition);
}

void SphinxRecognizer::listen()
{
    QList<qint16> buffer(kReadSamples);
    LevelMeter meter;
    InputCheck check;
    while (!m_stop) {
        QString error;
        if (!m_source->read(buffer.data(), kReadSamples, &error)) {
            QMetaObject::invokeMethod(
                this,
                [this, error] {
                    if (!m_active)
                        return;
                    Deactivate();
                    emit listeningFailed(error);
                },
                Qt::QueuedConnection);
            return;
        }
        QList<int> levels;
        meter.add(buffer.constData(), kReadSamples, &levels);
        if (check.add(buffer.constData(), kReadSamples)) {
            QMetaObject::invokeMethod(
                this,
                [this, condition = check.condition()] {
                    if (m_active)
                        setInputCondition(condition);
                },
                Qt::QueuedConnection);
        }
        QList<SphinxEngine::Detection> detections;
        int generation = 0;
        {
            QMutexLocker lock(&m_engineMutex);
            generation = m_generation;
            m_engine.process(buffer.constData(), kReadSamples, &detections);
        }
        for (const int level : std::as_const(levels)) {
            QMetaObject::invokeMethod(
                this,
                [this, level] {
                    if (m_active)
                        emit LevelChanged(level);
                },
                Qt::QueuedConnection);
        }
        for (const SphinxEngine::Detection &d : std::as_const(detections)) {
            const QString phrase = d.phrase;
            QMetaObject::invokeMethod(
                this,
                [this, phrase, generation] {
                    if (m_active && generation == m_generation)
                        emit PhraseRecognized(phrase);
                },
                Qt::QueuedConnection);
        }
    }
}
