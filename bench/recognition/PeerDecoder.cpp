#include "PeerDecoder.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtEndian>

namespace {

const char kProgram[] = "pocketsphinx_continuous";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray wav(const QList<qint16> &samples)
{
    auto le32 = [](quint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    const quint32 dataBytes = quint32(samples.size() * 2);
    QByteArray bytes = "RIFF" + le32(36 + dataBytes) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                       le32(16000) + le32(32000) + le16(2) + le16(16) + "data" + le32(dataBytes);
    for (const qint16 s : samples)
        bytes += le16(quint16(s));
    return bytes;
}

} // namespace

bool PeerDecoder::available()
{
    return !QStandardPaths::findExecutable(QLatin1String(kProgram)).isEmpty();
}

PeerDecoder::PeerDecoder(const QString &workDir, const QString &modelDir, const QStringList &keys,
                         const QStringList &dictionary)
    : m_workDir(workDir), m_modelDir(modelDir)
{
    QByteArray grammar = "#JSGF V1.0;\ngrammar commands;\npublic <command> = ";
    QStringList alternatives;
    for (const QString &key : keys)
        alternatives.append(QLatin1Char('(') + key + QLatin1Char(')'));
    grammar += alternatives.join(QStringLiteral(" | ")).toUtf8() + ";\n";
    writeFile(m_workDir + QStringLiteral("/peer.jsgf"), grammar);
    writeFile(m_workDir + QStringLiteral("/peer.dict"),
              dictionary.join(QLatin1Char('\n')).toUtf8() + '\n');
}

bool PeerDecoder::decode(const QList<qint16> &samples, QStringList *phrases, QString *error) const
{
    const QString input = m_workDir + QStringLiteral("/peer.wav");
    if (!writeFile(input, wav(samples))) {
        *error = QStringLiteral("cannot write ") + input;
        return false;
    }
    QProcess process;
    process.start(QLatin1String(kProgram),
                  {"-hmm", m_modelDir + "/en-us", "-dict", m_workDir + "/peer.dict", "-jsgf",
                   m_workDir + "/peer.jsgf", "-infile", input, "-logfn", "/dev/null"});
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        *error = QLatin1String(kProgram) + QStringLiteral(" failed: ") +
                 QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    static const QRegularExpression alternative(QStringLiteral("\\(\\d+\\)"));
    phrases->clear();
    for (const QString &line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        const QString phrase = QString(line).remove(alternative).simplified();
        if (!phrase.isEmpty())
            phrases->append(phrase);
    }
    return true;
}
