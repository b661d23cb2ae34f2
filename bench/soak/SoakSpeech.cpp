#include "SoakSpeech.h"

#include "Soak.h"
#include "support/SynthesizedSpeech.h"

#include <QDir>
#include <QFile>

SoakSpeech::SoakSpeech(const QString &dir) : m_dir(dir)
{
    QDir().mkpath(dir);
}

bool SoakSpeech::makeMinute(const QString &voice, const QString &out, QStringList *said,
                            QString *error)
{
    const QList<Soak::Word> &words = Soak::words();
    QStringList pieces;
    double seconds = 0;
    for (int i = 0; seconds < 54; ++i) {
        const QString piece = out + QStringLiteral(".%1.wav").arg(i);
        const QString phrase = words.at(i % words.size()).phrase;
        if (!SynthesizedSpeech::say(voice, phrase, piece, error, 1.0 + i % 4, 0.3))
            return false;
        seconds += (QFile(piece).size() - 44) / 32000.0;
        pieces.append(piece);
        said->append(phrase);
    }
    const QString speech = out + QStringLiteral(".speech.wav");
    return SynthesizedSpeech::concatenate(pieces, speech, error) &&
           SynthesizedSpeech::run("sox", {speech, out, "pad", "0", "60", "trim", "0", "60"}, error);
}

bool SoakSpeech::make(int minutes, QString *error)
{
    QStringList saidA;
    QStringList saidB;
    const QString a = m_dir + QStringLiteral("/espeak.wav");
    const QString b = m_dir + QStringLiteral("/flite.wav");
    const QString silence = m_dir + QStringLiteral("/silence.wav");
    if (!makeMinute(QStringLiteral("espeak:en-us"), a, &saidA, error) ||
        !makeMinute(QStringLiteral("flite:slt"), b, &saidB, error) ||
        !SynthesizedSpeech::silence(60, silence, error))
        return false;
    m_files = QStringList{a};
    m_said = saidA;
    for (int m = 0; m < minutes; ++m) {
        switch (m % 4) {
        case 0:
            m_files.append(a);
            m_said += saidA;
            break;
        case 2:
            m_files.append(b);
            m_said += saidB;
            break;
        default:
            m_files.append(silence);
        }
    }
    return true;
}
