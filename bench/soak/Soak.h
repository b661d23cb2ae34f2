#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the soak says and expects, and how it counts.
namespace Soak {

struct Word
{
    QString phrase;
    QByteArray keys;      // as the vocabulary holds them
    QStringList arrivals; // the target's log lines for them: "<combination>\t<text>"
};
const QList<Word> &words();
// The vocabulary's records, "phrase:keys".
QList<QByteArray> records();

// What was expected and did not come, and what came unexpected, in any order.
struct Tally
{
    qsizetype expected = 0;
    qsizetype lost = 0;
    qsizetype unexpected = 0;
    QString detail; // the first few of either
};
Tally compare(const QStringList &expected, const QStringList &got);

// The process's resident memory (VmRSS), in kilobytes.
qint64 residentKb();
// Lines in a file, read with a small fixed buffer so that counting does not itself add memory.
qint64 lineCount(const QString &path);

} // namespace Soak
