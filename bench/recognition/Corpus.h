#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Speech for the benchmark, synthesized on the spot with espeak-ng and flite.
class Corpus
{
public:
    struct Voice
    {
        QString name;
        QString program; // "espeak-ng" or "flite"
        QString voice;
    };

    static QList<Voice> voices();
    static QStringList commands();
    static QStringList outOfGrammar();
    // What still needs installing for the synthesis, empty when all is there.
    static QString missingTools();

    // The text spoken by voice, as 16 kHz mono; empty with error when synthesis fails.
    static QList<qint16> synthesize(const Voice &voice, const QString &text, const QString &workDir,
                                    QString *error);
    // The sample after the last one that belongs to speech.
    static qsizetype endOfSpeech(const QList<qint16> &samples);
    // RMS over the 10 ms frames that hold speech.
    static double speechRms(const QList<qint16> &samples);
    // samples with pink noise mixed in at snrDb below the speech level; the same seed gives
    // the same noise.
    static QList<qint16> withPinkNoise(const QList<qint16> &samples, double snrDb, quint32 seed);
};
