#pragma once

#include "recognizer/SphinxEngine.h"

#include <QStringList>
#include <QTextStream>

// "jev recognize F.wav ...": decodes each file as one stream against the data directory's
// temp.txt, as fast as the engine can, and prints file, phrase and the milliseconds from the end
// of speech to the event for every phrase recognized.
class RecognizeTask
{
public:
    RecognizeTask(const QString &dataDir, QTextStream &out, QTextStream &err);
    // 0 done, 1 when the grammar, the model or a file cannot be used; the other files are
    // recognized all the same.
    int run(const QStringList &files);

private:
    // False, with a message naming the file, when it cannot be used or read to its end; what
    // was recognized before is printed.
    bool recognizeFile(SphinxEngine &engine, const QString &file, QString *error);
    // Decodes the samples and prints what they complete.
    void print(const QString &file, SphinxEngine &engine, const qint16 *samples, qsizetype count);
    void print(const QString &file, const QList<SphinxEngine::Detection> &detections);

    QString m_dataDir;
    QTextStream &m_out;
    QTextStream &m_err;
};
