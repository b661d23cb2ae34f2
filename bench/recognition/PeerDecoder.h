#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The plain grammar decoder that ships with PocketSphinx (pocketsphinx_continuous -jsgf), run
// on the same sound as the program's engine, with the same phrases and pronunciations and the
// library's own settings otherwise.
class PeerDecoder
{
public:
    // Whether pocketsphinx_continuous is installed (Debian package pocketsphinx).
    static bool available();

    // keys: the phrases as word sequences; dictionary: their words' pronunciations as lines of
    // a PocketSphinx dictionary. The files it needs go to workDir.
    PeerDecoder(const QString &workDir, const QString &modelDir, const QStringList &keys,
                const QStringList &dictionary);

    // The phrases the decoder hears in the samples (16 kHz mono), one per utterance, as keys;
    // false with error when it cannot run.
    bool decode(const QList<qint16> &samples, QStringList *phrases, QString *error) const;

private:
    QString m_workDir;
    QString m_modelDir;
};
