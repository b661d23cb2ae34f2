#pragma once

#include <QStringList>

class ListBox;

// The program's access to its data files: the application list VAppCmd.txt and the vocabulary
// files (record files on the shared channel 1) and the grammar temp.txt (channel 2). Each
// instance has its own record cursor, which survives between calls.
class CFile
{
public:
    static constexpr int AppSlotLength = 270;
    static constexpr int VocabSlotLength = 128;

    explicit CFile(const QString &programDir);

    QString programDir() const { return m_programDir; }
    // VAppCmd.txt / <name>.txt in the program directory, or vocab/<name>.txt.
    QString dataFilePath(bool bVocab, const QString &sFileName) const;
    QString grammarPath() const;

    // Opens VAppCmd.txt, or the vocabulary sVocabName, on channel 1, creating it when missing.
    // Failures are ignored: the channel then stays as it was.
    void FileOpen(bool bVocab = false, const QString &sVocabName = {});
    QString FileRead(qint16 iRecNumber);
    void FileStore(const QString &sStoreValue, qint16 iRecNumber);
    void FileClose();
    // Creates the file empty and leaves it open; raises 13013 when it cannot be created.
    void FileNew(bool bVocab, const QString &sFileName);
    // Raises 53 for a missing file and 70 when the file may not be removed.
    void FileDelete(bool bVocab, const QString &sFileName);
    // EOF of channel 1: no byte after the slot read last.
    bool atEnd() const;

    qint16 RecordNumber() const { return m_recordNumber; }
    void setRecordNumber(qint16 iRecNum) { m_recordNumber = iRecNum; }
    void InitRecord() { m_recordNumber = 1; }
    void IncrementRecord();
    void DecrementRecord();
    // Moves the cursor over non-empty records to the first empty one or the end of the file.
    void RecordCount(bool bVocab = false, const QString &sVocabName = {});

    // Every record string from record 1 to the end of the file, read at once; the cursor ends one
    // past them, or on the record that could not be read.
    QStringList readAll(bool bVocab, const QString &sName);
    // Makes the records exactly these, as records 1 to n, written at once. The new file replaces
    // the old one only once it is complete, so a failure at any step leaves the old file whole;
    // raises the error of the step that failed. The cursor ends one past the last record.
    void replaceAll(bool bVocab, const QString &sName, const QStringList &records);

    // Regenerates temp.txt from the spoken names of VAppCmd.txt and the phrases of the
    // vocabularies listed in lstVocab, in that list's order. The new grammar replaces the old one
    // only once it is complete; false, with the reason, when it could not be written.
    bool TempLoad(const ListBox &lstVocab, QString *error = nullptr);
    bool TempFileOpen(QString *error = nullptr);
    void TempFileStore(const QString &sStoreValue);
    bool TempFileClose();

private:
    // The spoken names of the application list, in record order.
    QStringList spokenNames();
    // The phrases of the vocabularies in lstVocab's order, each once: the first spelling wins.
    QStringList vocabularyPhrases(const ListBox &lstVocab);

    QString m_programDir;
    qint16 m_recordNumber = 1;
};

// Closes channel 1 when the operation that opened it ends, also by an error.
class DataChannelCloser
{
public:
    explicit DataChannelCloser(CFile &file) : m_file(file) {}
    ~DataChannelCloser() { m_file.FileClose(); }
    DataChannelCloser(const DataChannelCloser &) = delete;
    DataChannelCloser &operator=(const DataChannelCloser &) = delete;

private:
    CFile &m_file;
};
