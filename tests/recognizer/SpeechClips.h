#pragma once

#include "data/CFile.h"
#include "data/MemoryListBox.h"
#include "recognizer/LevelMeter.h"
#include "support/RecordFileBytes.h"
#include "support/SynthesizedSpeech.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

// Spoken material for the tests of the real recognizer, made once in the test's directory.
namespace SpeechClips {

// "voice|text" spoken with lead and trail seconds of silence around it, or a number: that many
// seconds of silence.
inline QString clip(const QString &dir, const QString &piece, double lead = 0.5, double trail = 1.0)
{
    const QString name = QStringLiteral("%1_%2_%3").arg(piece).arg(lead).arg(trail);
    const QString out =
        dir + '/' + QString(name).replace(QRegularExpression("[^A-Za-z0-9.]"), "_") + ".wav";
    QString error;
    const bool made = QFileInfo::exists(out) ||
                      (piece.contains('|')
                           ? SynthesizedSpeech::say(piece.section('|', 0, 0), piece.section('|', 1),
                                                    out, &error, lead, trail)
                           : SynthesizedSpeech::silence(piece.toDouble(), out, &error));
    if (!made)
        qWarning().noquote() << error;
    return out;
}

// A data directory with one application and its vocabulary, whose temp.txt the program's
// grammar writer makes.
inline void writeGrammar(const QString &dir, const QByteArray &app, const QString &vocab,
                         const QList<QByteArray> &words)
{
    RecordFileBytes::write(dir + "/VAppCmd.txt",
                           RecordFileBytes::file({app}, CFile::AppSlotLength));
    RecordFileBytes::write(dir + "/vocab/" + vocab + ".txt",
                           RecordFileBytes::file(words, CFile::VocabSlotLength));
    QString error;
    QVERIFY2(CFile(dir).TempLoad(MemoryListBox({vocab}), &error), qPrintable(error));
}

inline QStringList phrases(const QSignalSpy &spy)
{
    QStringList phrases;
    for (const QList<QVariant> &args : spy)
        phrases.append(args.at(0).toString());
    return phrases;
}

// The loudest of the levels told.
inline int loudest(const QSignalSpy &levels)
{
    int loudest = 0;
    for (const QList<QVariant> &args : levels)
        loudest = qMax(loudest, args.at(0).toInt());
    return loudest;
}

// The loudest 50 ms of the samples on the level meter's scale, as the user sets the meter.
inline int loudest(const QList<qint16> &samples)
{
    constexpr qsizetype window = 800;
    int loudest = 0;
    for (qsizetype at = 0; at + window <= samples.size(); at += window)
        loudest = qMax(loudest, LevelMeter::rms(samples.constData() + at, window));
    return loudest;
}

// The phrases heard until the files have played at that speed, and a little more.
inline QStringList heardWhilePlaying(const QSignalSpy &spy, const QStringList &files, double speed)
{
    qint64 bytes = 0;
    for (const QString &file : files)
        bytes += QFileInfo(file).size() - 44; // 16 kHz, 16-bit mono after the header
    QTest::qWait(int(bytes / 32.0 / speed) + 1200);
    return phrases(spy);
}

} // namespace SpeechClips
