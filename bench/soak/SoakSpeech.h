#pragma once

#include <QString>
#include <QStringList>

// The sound the soak listens to: a warm-up minute of speech, then minutes of speech (espeak-ng
// and flite in turn) and of silence in turn, as 16 kHz WAV files of exactly one minute each.
class SoakSpeech
{
public:
    static constexpr qint64 MinuteSamples = 16000 * 60;

    explicit SoakSpeech(const QString &dir);

    bool make(int minutes, QString *error);
    // The warm-up minute first.
    QStringList files() const { return m_files; }
    // The phrases said in all the files, in order.
    QStringList said() const { return m_said; }

private:
    // A minute of the soak's words, each after a pause of one to four seconds.
    bool makeMinute(const QString &voice, const QString &out, QStringList *said, QString *error);

    QString m_dir;
    QStringList m_files;
    QStringList m_said;
};
