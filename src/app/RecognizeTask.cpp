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
        QList<qint16> samples;
        if (!WavReader::read(file, &samples, &error)) {
            m_err << error << Qt::endl;
            code = 1;
            continue;
        }
        QList<SphinxEngine::Detection> detections;
        engine.restart();
        engine.process(samples.constData(), samples.size(), &detections);
        // Silence after the file lets an utterance at its very end finish as it would live.
        const QList<qint16> silence(SphinxEngine::SampleRate, 0);
        engine.process(silence.constData(), silence.size(), &detections);
        engine.finish(&detections);
        for (const SphinxEngine::Detection &d : std::as_const(detections)) {
            const double ms =
                (d.eventSample - d.lastVoicedSample) * 1000.0 / SphinxEngine::SampleRate +
                d.searchMs;
            m_out << file << '\t' << d.phrase << '\t' << qRound(ms) << '\n';
        }
        m_out.flush();
    }
    return code;
}
