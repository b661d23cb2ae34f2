#pragma once

#include <QFile>
#include <QString>

// Channel 1: the one record file open in the whole program. A record file is a row of fixed-size
// slots; a slot holds a 16-bit little-endian length and that many Windows-1252 bytes.
class RecordChannel
{
public:
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

    // Opens (creating when missing) for reading and writing; a file that may not be written is
    // opened for reading only, so that it can still be listed. False when already open or the
    // file cannot be opened; the reason is kept for the error of the next read.
    bool open(const QString &path, int slotLength);
    // Creates the file empty, replacing an existing one, and keeps it open.
    bool create(const QString &path, int slotLength, QString *error);
    void close();

    // The record's string; empty past the end. Raises 13011 when the channel is closed, the
    // number is below 1 or the slot does not hold what its length word says.
    QString read(int recordNumber);
    // Raises 13012, after closing the channel, when the channel is closed, the number is below 1,
    // the string is longer than a slot holds or the write fails. Nothing is written then.
    void store(const QString &value, int recordNumber);

    // True when no byte lies at or after the slot that follows the slot read last.
    bool atEnd() const;

private:
    [[noreturn]] void refuseStore(const QString &detail);

    QFile m_file;
    int m_slotLength = 0;
    qint64 m_lastRead = 0;
    QString m_openError;
};
