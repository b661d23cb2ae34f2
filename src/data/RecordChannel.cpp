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
    return true;
}

void RecordChannel::close()
{
    m_file.close();
}

QString RecordChannel::read(int recordNumber)
{
    using AppErrorNumber::FileCorrupt;
    if (!m_file.isOpen())
        RaiseAppError(FileCorrupt,
                      m_openError.isEmpty() ? QStringLiteral("no file is open") : m_openError);
    if (recordNumber < 1)
        RaiseAppError(FileCorrupt, QStringLiteral("record %1 does not exist").arg(recordNumber));

    const qint64 start = qint64(recordNumber - 1) * m_slotLength;
    m_lastRead = recordNumber;
    if (start >= m_file.size())
        return {};
    m_file.seek(start);
    const QByteArray slot = m_file.read(m_slotLength);
    if (slot.size() < 2)
        RaiseAppError(
            FileCorrupt,
            QStringLiteral("%1: record %2 is cut short").arg(m_file.fileName()).arg(recordNumber));
    const int length = qFromLittleEndian<quint16>(slot.constData());
    if (length > m_slotLength - 2)
        RaiseAppError(FileCorrupt, QStringLiteral("%1: record %2 claims %3 bytes")
                                       .arg(m_file.fileName())
                                       .arg(recordNumber)
                                       .arg(length));
    if (length > slot.size() - 2)
        RaiseAppError(
            FileCorrupt,
            QStringLiteral("%1: record %2 is cut short").arg(m_file.fileName()).arg(recordNumber));
    return Cp1252Codec::decode(slot.mid(2, length));
}

void RecordChannel::store(const QString &value, int recordNumber)
{
    if (!m_file.isOpen())
        refuseStore(m_openError.isEmpty() ? QStringLiteral("no file is open") : m_openError);
    if (recordNumber < 1)
        refuseStore(QStringLiteral("record %1 does not exist").arg(recordNumber));
    const QByteArray bytes = Cp1252Codec::encode(value);
    if (bytes.size() > m_slotLength - 2)
        refuseStore(QStringLiteral("%1 bytes do not fit a record of at most %2")
                        .arg(bytes.size())
                        .arg(m_slotLength - 2));
    if (!m_file.isWritable())
        refuseStore(m_file.fileName() + QStringLiteral(": the file may not be written"));

    QByteArray slot(m_slotLength, '\0');
    qToLittleEndian<quint16>(quint16(bytes.size()), slot.data());
    std::copy(bytes.cbegin(), bytes.cend(), slot.begin() + 2);
    if (FileChannels::instance().injectFault("store"))
        refuseStore(m_file.fileName() + QStringLiteral(": write failed"));
    // One write of the whole slot: a record is never left with a new length and old text.
    if (!m_file.seek(qint64(recordNumber - 1) * m_slotLength) || m_file.write(slot) != slot.size())
        refuseStore(m_file.fileName() + QStringLiteral(": ") + m_file.errorString());
}

bool RecordChannel::atEnd() const
{
    if (!m_file.isOpen())
        return true;
    return m_file.size() <= m_lastRead * m_slotLength;
}

void RecordChannel::refuseStore(const QString &detail)
{
    close();
    RaiseAppError(AppErrorNumber::StoreRefused, detail);
}
