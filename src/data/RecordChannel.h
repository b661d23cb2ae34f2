#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// Channel 1: the one record file open in the whole program. A record file is a row of fixed-size
// slots; a slot holds a 16-bit little-endian length and that many Windows-1252 bytes. The first
// read after opening reads the whole file (as far as record numbers reach) with one read; the
// reads after it are served from there until the next store.
class RecordChannel
{
public:
    // Record numbers are signed 16-bit: no record lies beyond this one.
    static constexpr int MaxRecords = 32767;

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
    // Every record up to MaxRecords; raises 13011 as read() does for the first record that
    // cannot be read.
    QStringList readAll();
    // Raises 13012, after closing the channel, when the channel is closed, the number is below 1,
    // the string is longer than a slot holds or the write fails. Nothing is written then.
    void store(const QString &value, int recordNumber);
    // Makes the file exactly these records, with one write; raises as store() does, and writes
    // nothing when any of them does not fit.
    void storeAll(const QStringList &values);

    // The slots the file holds, the last one possibly cut short.
    qsizetype slotCount() const;
    // The record read last (also when its read failed), 0 when none was.
    qint64 lastRead() const { return m_lastRead; }

    // True when no byte lies at or after the slot that follows the slot read last.
    bool atEnd() const;

private:
    // The file's bytes up to the end of record MaxRecords, read once after each open or store.
    const QByteArray &contents() const;
    qint64 fileSize() const;
    void forgetContents() { m_haveContents = false; }
    void requireOpenForRead(int recordNumber) const;
    // The string of slot recordNumber, of which available bytes are there.
    QString decodeSlot(const char *slot, qsizetype available, int recordNumber) const;
    // The slot bytes of value; raises 13012 when it does not fit.
    QByteArray encodeSlot(const QString &value);
    void requireWritable(int recordNumber);
    [[noreturn]] void refuseStore(const QString &detail);

    mutable QFile m_file;
    mutable QByteArray m_contents;
    mutable qint64 m_size = 0;
    mutable bool m_haveContents = false;
    int m_slotLength = 0;
    qint64 m_lastRead = 0;
    QString m_openError;
};
