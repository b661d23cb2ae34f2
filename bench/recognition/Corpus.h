#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Speech for the benchmark, synthesized on the spot with espeak-ng and flite.
//
// Two sets that share no voice, text or noise seed: the evaluation set, whose figures are
// reported, and the development set, on which thresholds and weights are chosen. Background talk
// in either set comes from voices and texts that its commands do not use.
class Corpus
{
public:
    struct Voice
    {
        QString name;
        QString program; // "espeak-ng" or "flite"
        QString voice;
    };

    struct Set
    {
        QString name;
        QList<Voice> voices;
        QStringList commands;
        QStringList outOfGrammar;
        QList<Voice> talkVoices;
        QStringList talkTexts;
        // A sentence each voice says before the commands, as a user speaks while setting the
        // level meter's full scale in the sound meter window.
        QString levelCheck;
        quint32 firstSeed;
    };

    static Set evaluation();
    static Set development();

    // What still needs installing for the synthesis, empty when all is there.
    static QString missingTools();

    // The text spoken by voice, as 16 kHz mono; empty with error when synthesis fails.
    static QList<qint16> synthesize(const Voice &voice, const QString &text, const QString &workDir,
                                    QString *error);
    // The first sample of speech, and the sample after the last one that belongs to speech.
    static qsizetype startOfSpeech(const QList<qint16> &samples);
    static qsizetype endOfSpeech(const QList<qint16> &samples);
    // RMS over the 10 ms frames that hold speech.
    static double speechRms(const QList<qint16> &samples);
    // The loudest level that the program's level meter shows for these samples (RMS over 50 ms).
    static double loudestLevel(const QList<qint16> &samples);
};
