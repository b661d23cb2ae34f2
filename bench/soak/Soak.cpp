#include "Soak.h"

#include <QFile>
#include <QHash>

namespace Soak {

const QList<Word> &words()
{
    static const QList<Word> list{
        {QStringLiteral("select all"), "^a", {QStringLiteral("Ctrl+A\t")}},
        {QStringLiteral("save file"), "^s", {QStringLiteral("Ctrl+S\t")}},
        {QStringLiteral("page down"), "{PGDN}", {QStringLiteral("PgDown\t")}},
        {QStringLiteral("undo that"), "^z", {QStringLiteral("Ctrl+Z\t")}},
        {QStringLiteral("type hello"),
         "hello",
         {QStringLiteral("H\th"), QStringLiteral("E\te"), QStringLiteral("L\tl"),
          QStringLiteral("L\tl"), QStringLiteral("O\to")}},
    };
    return list;
}

QList<QByteArray> records()
{
    QList<QByteArray> records;
    for (const Word &word : words())
        records.append(word.phrase.toLatin1() + ':' + word.keys);
    return records;
}

Tally compare(const QStringList &expected, const QStringList &got)
{
    QHash<QString, qsizetype> balance;
    for (const QString &item : expected)
        ++balance[item];
    for (const QString &item : got)
        --balance[item];
    Tally tally;
    tally.expected = expected.size();
    QStringList detail;
    for (auto it = balance.cbegin(); it != balance.cend(); ++it) {
        if (it.value() == 0)
            continue;
        (it.value() > 0 ? tally.lost : tally.unexpected) += qAbs(it.value());
        if (detail.size() < 6)
            detail.append(QStringLiteral("%1 %2 \"%3\"")
                              .arg(qAbs(it.value()))
                              .arg(it.value() > 0 ? "lost" : "extra")
                              .arg(QString(it.key()).replace('\t', ' ').trimmed()));
    }
    tally.detail = detail.join(QStringLiteral(", "));
    return tally;
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    char line[256];
    qint64 n = 0;
    while ((n = status.readLine(line, sizeof line)) > 0) {
        if (qstrncmp(line, "VmRSS:", 6) == 0)
            return QByteArray(line + 6, int(n) - 6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

qint64 lineCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    char buffer[4096];
    qint64 lines = 0;
    qint64 n = 0;
    while ((n = file.read(buffer, sizeof buffer)) > 0)
        lines += std::count(buffer, buffer + n, '\n');
    return lines;
}

} // namespace Soak
