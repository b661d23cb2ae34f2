#include "RecognizeTask.h"

#include "data/DataFiles.h"
#include "recognizer/GrammarFile.h"
#include "recognizer/RecognizerSettings.h"
#include "recognizer/SphinxEngine.h"
#include "recognizer/audio/WavReader.h"

#include <QElapsedTimer>

RecognizeTask::RecognizeTask(const QString &dataDir, QTextStream &out, QTextStream &err)
    : m_dataDir(dataDir), m_out(out), m_err(err)
{}

int RecognizeTask::run(const QStringList &files)
{
    GrammarFile grammarFile;
    QString error;
    if (!GrammarFile::read(DataFiles::grammarPath(m_dataDir), &grammarFile, &error)) {
        m_err << error << Qt::endl;
        return 1;
    }
    const SpeechGrammar grammar(grammarFile.phrases);
    for (const QString &warning : grammar.warnings())
        m_err << warning << Qt::endl;

    SphinxEngine::Options options;
    options.sensitivity = RecognizerSettings::sensitivity();
    options.voiceLevel = RecognizerSettings::voiceLevel();
    SphinxEngine engine(options);
    if (!engine.setGrammar(grammar, &error)) {
        m_err << error << Qt::endl;
        return 1;
    }
    int code = 0;
    for (const QString &file : files) {
        if (!recognizeFile(engine, file, &error)) {
            m_err << error << Qt::endl;
            code = 1;
        }
    }
    return code;
}

bool RecognizeTask::recognizeFile(SphinxEngine &engine, const QString &file, QString *error)
{
    WavReader reader;
    if (!reader.open(file, error))
        return false;
    engine.restart();
    // Half a second at a time: memory does not grow with the length of the file.
    QList<qint16> piece(SphinxEngine::SampleRate / 2);
    qsizetype n = 0;
    while ((n = reader.read(piece.data(), piece.size(), error)) > 0)
        print(file, engine, piece.constData(), n);
    // Silence after the file lets an utterance at its very end finish as it would live.
    piece.fill(0, SphinxEngine::SampleRate);
    print(file, engine, piece.constData(), piece.size());
    QList<SphinxEngine::Detection> detections;
    engine.finish(&detections);
    print(file, detections);
    m_out.flush();
    return n == 0;
}

void RecognizeTask::print(const QString &file, SphinxEngine &engine, const qint16 *samples,
                          qsizetype count)
{
    QList<SphinxEngine::Detection> detections;
    engine.process(samples, count, &detections);
    print(file, detections);
}

void RecognizeTask::print(const QString &file, const QList<SphinxEngine::Detection> &detections)
{
    for (const SphinxEngine::Detection &d : detections) {
        const double ms =
            (d.eventSample - d.lastVoicedSample) * 1000.0 / SphinxEngine::SampleRate + d.searchMs;
        m_out << file << '\t' << d.phrase << '\t' << qRound(ms) << '\n';
    }
}
