#include "RecordChannel.h"

#include "AppError.h"
#include "Cp1252Codec.h"
#include "FileChannels.h"

#include <QtEndian>

bool RecordChannel::open(const QString &path, int slotLength)
{
    if (m_file.isOpen())
        return false;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered) &&
        !(m_file.exists() && m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))) {
        m_openError = path + QStringLiteral(": ") + m_file.errorString();
        return false;
    }
    m_slotLength = slotLength;
    m_lastRead = 0;
    m_openError.clear();
    forgetContents();
    return true;
}

bool RecordChannel::create(const QString &path, int slotLength, QString *error)
{
    if (m_file.isOpen())
        close();
    m_file.setFileName(path);
    if (FileChannels::instance().injectFault("create") ||
        !m_file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered)) {
        if (error)
            *error = path + QStringLiteral(": ") + m_file.errorString();
        return false;
    }
    m_slotLength = slotLength;
    m_lastRead = 0;
    forgetContents();
    return true;
}

void RecordChannel::close()
{
    m_file.close();
    forgetContents();
    m_contents.clear();
}

const QByteArray &RecordChannel::contents() const
{
    if (!m_haveContents) {
        m_size = m_file.size();
        m_file.seek(0);
        m_contents = m_file.read(qMin<qint64>(m_size, qint64(MaxRecords) * m_slotLength));
        m_haveContents = true;
    }
    return m_contents;
}

qint64 RecordChannel::fileSize() const
{
    return m_haveContents ? m_size : m_file.size();
}

void RecordChannel::requireOpenForRead(int recordNumber) const
{
    using AppErrorNumber::FileCorrupt;
    if (!m_file.isOpen())
        RaiseAppError(FileCorrupt,
                      m_openError.isEmpty() ? QStringLiteral("no file is open") : m_openError);
    if (recordNumber < 1)
        RaiseAppError(FileCorrupt, QStringLiteral("record %1 does not exist").arg(recordNumber));
}

QString RecordChannel::decodeSlot(const char *slot, qsizetype available, int recordNumber) const
{
    using AppErrorNumber::FileCorrupt;
    const int length = available < 2 ? -1 : qFromLittleEndian<quint16>(slot);
    if (length > m_slotLength - 2)
        RaiseAppError(FileCorrupt, QStringLiteral("%1: record %2 claims %3 bytes")
                                       .arg(m_file.fileName())
                                       .arg(recordNumber)
                                       .arg(length));
    if (length < 0 || length > available - 2)
        RaiseAppError(
            FileCorrupt,
            QStringLiteral("%1: record %2 is cut short").arg(m_file.fileName()).arg(recordNumber));
    return Cp1252Codec::decode(QByteArray(slot + 2, length));
}

QString RecordChannel::read(int recordNumber)
{
    requireOpenForRead(recordNumber);
    const qint64 start = qint64(recordNumber - 1) * m_slotLength;
    m_lastRead = recordNumber;
    const QByteArray &bytes = contents();
    if (start < bytes.size())
        return decodeSlot(bytes.constData() + start,
                          qMin<qsizetype>(m_slotLength, bytes.size() - start), recordNumber);
    if (start >= fileSize())
        return {};
    // Beyond the numbers the cursor reaches: read directly.
    m_file.seek(start);
    const QByteArray slot = m_file.read(m_slotLength);
    return decodeSlot(slot.constData(), slot.size(), recordNumber);
}

QStringList RecordChannel::readAll()
{
    requireOpenForRead(1);
    const QByteArray &bytes = contents();
    QStringList records;
    records.reserve(bytes.size() / m_slotLength + 1);
    for (qsizetype start = 0; start < bytes.size(); start += m_slotLength) {
        m_lastRead = start / m_slotLength + 1;
        records.append(decodeSlot(bytes.constData() + start,
                                  qMin<qsizetype>(m_slotLength, bytes.size() - start),
                                  int(m_lastRead)));
    }
    return records;
}

QByteArray RecordChannel::encodeSlot(const QString &value)
{
    const QByteArray bytes = Cp1252Codec::encode(value);
    if (bytes.size() > m_slotLength - 2)
        refuseStore(QStringLiteral("%1 bytes do not fit a record of at most %2")
                        .arg(bytes.size())
                        .arg(m_slotLength - 2));
    QByteArray slot(m_slotLength, '\0');
    qToLittleEndian<quint16>(quint16(bytes.size()), slot.data());
    std::copy(bytes.cbegin(), bytes.cend(), slot.begin() + 2);
    return slot;
}

void RecordChannel::requireWritable(int recordNumber)
{
    if (!m_file.isOpen())
        refuseStore(m_openError.isEmpty() ? QStringLiteral("no file is open") : m_openError);
    if (recordNumber < 1)
        refuseStore(QStringLiteral("record %1 does not exist").arg(recordNumber));
}

void RecordChannel::store(const QString &value, int recordNumber)
{
    requireWritable(recordNumber);
    const QByteArray slot = encodeSlot(value);
    if (!m_file.isWritable())
        refuseStore(m_file.fileName() + QStringLiteral(": the file may not be written"));
    if (FileChannels::instance().injectFault("store"))
        refuseStore(m_file.fileName() + QStringLiteral(": write failed"));
    forgetContents();
    // One write of the whole slot: a record is never left with a new length and old text.
    if (!m_file.seek(qint64(recordNumber - 1) * m_slotLength) || m_file.write(slot) != slot.size())
        refuseStore(m_file.fileName() + QStringLiteral(": ") + m_file.errorString());
}

void RecordChannel::storeAll(const QStringList &values)
{
    requireWritable(1);
    QByteArray bytes;
    bytes.reserve(values.size() * m_slotLength);
    for (const QString &value : values)
        bytes += encodeSlot(value);
    if (!m_file.isWritable())
        refuseStore(m_file.fileName() + QStringLiteral(": the file may not be written"));
    if (FileChannels::instance().injectFault("store"))
        refuseStore(m_file.fileName() + QStringLiteral(": write failed"));
    forgetContents();
    if (!m_file.seek(0) || m_file.write(bytes) != bytes.size() || !m_file.resize(bytes.size()))
        refuseStore(m_file.fileName() + QStringLiteral(": ") + m_file.errorString());
}

qsizetype RecordChannel::slotCount() const
{
    return m_file.isOpen() ? (fileSize() + m_slotLength - 1) / m_slotLength : 0;
}

bool RecordChannel::atEnd() const
{
    if (!m_file.isOpen())
        return true;
    return fileSize() <= m_lastRead * m_slotLength;
}

void RecordChannel::refuseStore(const QString &detail)
{
    close();
    RaiseAppError(AppErrorNumber::StoreRefused, detail);
}
