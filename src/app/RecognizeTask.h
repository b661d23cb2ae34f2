#pragma once

#include <QStringList>
#include <QTextStream>

// "jev recognize F.wav ...": decodes each file as one stream against the data directory's
// temp.txt, as fast as the engine can, and prints file, phrase and the milliseconds from the end
// of speech to the event for every phrase recognized.
class RecognizeTask
{
public:
    RecognizeTask(const QString &dataDir, QTextStream &out, QTextStream &err);
    // 0 done, 1 when the grammar, the model or a file cannot be used.
    int run(const QStringList &files);

private:
    QString m_dataDir;
    QTextStream &m_out;
    QTextStream &m_err;
};
