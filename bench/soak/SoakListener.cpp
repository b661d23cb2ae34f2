#include "SoakListener.h"

#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/WavFileSource.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>

// The files as fast as they can be read, up to a limit; silence beyond it, without taking from
// the files, until the limit is raised.
class MeteredSource : public AudioSource
{
public:
    explicit MeteredSource(const QStringList &files) : m_files(files, 1e9) {}

    bool open(QString *error) override { return m_files.open(error); }
    void close() override { m_files.close(); }
    bool read(qint16 *samples, int count, QString *error) override
    {
        const qint64 fromFiles = qBound(qint64(0), m_limit - m_played, qint64(count));
        if (fromFiles > 0 && !m_files.read(samples, int(fromFiles), error))
            return false;
        std::fill(samples + fromFiles, samples + count, qint16(0));
        m_played += fromFiles;
        m_silence += count - fromFiles;
        if (fromFiles < count)
            QThread::usleep(200); // silence at a few times the real pace is enough
        return true;
    }

    // Called while the recognizer is not listening.
    void allow(qint64 samples)
    {
        m_limit += samples;
        m_silence = 0;
    }
    qint64 silenceSince() const { return m_silence; }

private:
    WavFileSource m_files;
    qint64 m_limit = 0;
    qint64 m_played = 0;
    std::atomic<qint64> m_silence = 0;
};

SoakListener::SoakListener(const QStringList &files, const QString &grammar) : m_grammar(grammar)
{
    auto source = std::make_unique<MeteredSource>(files);
    m_source = source.get();
    m_recognizer = std::make_unique<SphinxRecognizer>(std::move(source));
    QObject::connect(m_recognizer.get(), &Recognizer::PhraseRecognized, m_recognizer.get(),
                     [this](const QString &phrase) { m_heard.append(phrase); });
}

SoakListener::~SoakListener() = default;

bool SoakListener::load(QString *error)
{
    return m_recognizer->LoadGrammarFile(m_grammar, error);
}

bool SoakListener::listen(qint64 samples, QString *error)
{
    m_source->allow(samples);
    if (!m_recognizer->Activate(error))
        return false;
    while (m_source->silenceSince() < 2 * 16000 && m_recognizer->isActive()) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    if (!m_recognizer->isActive()) {
        *error = QStringLiteral("listening stopped by itself");
        return false;
    }
    // What was decided in the silence is delivered before listening stops.
    QCoreApplication::processEvents();
    m_recognizer->Deactivate();
    return true;
}
