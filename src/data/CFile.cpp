#include "CFile.h"

#include "AppError.h"
#include "DataFiles.h"
#include "DataLog.h"
#include "FileChannels.h"
#include "FileRewrite.h"
#include "ListBox.h"
#include "VAppCmdRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <limits>

namespace {

RecordChannel &channel1()
{
    return FileChannels::instance().data();
}

GrammarChannel &channel2()
{
    return FileChannels::instance().grammar();
}

// A vocabulary name must stay one file inside vocab/.
bool usableFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0')) &&
           QFile::encodeName(name).size() <= 250;
}

} // namespace

CFile::CFile(const QString &programDir) : m_programDir(programDir)
{
    InitRecord();
}

QString CFile::dataFilePath(bool bVocab, const QString &sFileName) const
{
    return bVocab ? DataFiles::vocabPath(m_programDir, sFileName)
                  : DataFiles::recordFilePath(m_programDir, sFileName);
}

QString CFile::grammarPath() const
{
    return DataFiles::grammarPath(m_programDir);
}

void CFile::FileOpen(bool bVocab, const QString &sVocabName)
{
    const QString name = bVocab ? sVocabName : DataFiles::appListName();
    if (!usableFileName(name))
        return; // an unusable name opens nothing; the next read reports the closed channel
    const QString path = FileChannels::instance().resolve(dataFilePath(bVocab, name));
    channel1().open(path, bVocab ? VocabSlotLength : AppSlotLength);
}

QString CFile::FileRead(qint16 iRecNumber)
{
    return channel1().read(iRecNumber);
}

void CFile::FileStore(const QString &sStoreValue, qint16 iRecNumber)
{
    channel1().store(sStoreValue, iRecNumber);
}

void CFile::FileClose()
{
    channel1().close();
}

void CFile::FileNew(bool bVocab, const QString &sFileName)
{
    if (!usableFileName(sFileName))
        RaiseAppError(AppErrorNumber::NoVocabDirectory,
                      QStringLiteral("\"%1\" cannot be a file name").arg(sFileName));
    const QString path = FileChannels::instance().resolve(dataFilePath(bVocab, sFileName));
    QString error;
    if (!channel1().create(path, bVocab ? VocabSlotLength : AppSlotLength, &error))
        RaiseAppError(AppErrorNumber::NoVocabDirectory, error);
}

void CFile::FileDelete(bool bVocab, const QString &sFileName)
{
    if (!usableFileName(sFileName))
        RaiseAppError(AppErrorNumber::FileNotFound, sFileName);
    const QString path = FileChannels::instance().resolve(dataFilePath(bVocab, sFileName));
    QFile file(path);
    if (!QFileInfo::exists(path))
        RaiseAppError(AppErrorNumber::FileNotFound, path);
    if (FileChannels::instance().injectFault("delete") || !file.remove())
        RaiseAppError(AppErrorNumber::PermissionDenied,
                      path + QStringLiteral(": ") + file.errorString());
}

bool CFile::atEnd() const
{
    return channel1().atEnd();
}

void CFile::IncrementRecord()
{
    if (m_recordNumber == std::numeric_limits<qint16>::max())
        RaiseAppError(AppErrorNumber::Overflow);
    ++m_recordNumber;
}

void CFile::DecrementRecord()
{
    if (m_recordNumber == std::numeric_limits<qint16>::min())
        RaiseAppError(AppErrorNumber::Overflow);
    --m_recordNumber;
}

void CFile::RecordCount(bool bVocab, const QString &sVocabName)
{
    FileOpen(bVocab, sVocabName);
    DataChannelCloser closer(*this);
    while (!atEnd()) {
        if (FileRead(m_recordNumber).isEmpty())
            break;
        IncrementRecord();
    }
}

QStringList CFile::readAll(bool bVocab, const QString &sName)
{
    InitRecord();
    FileOpen(bVocab, sName);
    DataChannelCloser closer(*this);
    // The cursor cannot count past the last record number, so neither can a reader.
    if (channel1().slotCount() >= std::numeric_limits<qint16>::max())
        RaiseAppError(AppErrorNumber::Overflow);
    try {
        const QStringList records = channel1().readAll();
        m_recordNumber = qint16(records.size() + 1);
        return records;
    } catch (const AppError &) {
        m_recordNumber = qint16(channel1().lastRead()); // on the record that could not be read
        throw;
    }
}

void CFile::replaceAll(bool bVocab, const QString &sName, const QStringList &records)
{
    if (records.size() >= std::numeric_limits<qint16>::max())
        RaiseAppError(AppErrorNumber::Overflow);
    FileRewrite rewrite(dataFilePath(bVocab, sName));
    rewrite.raiseUnlessReady();
    FileNew(bVocab, sName); // opens the staged copy, empty
    {
        DataChannelCloser closer(*this);
        channel1().storeAll(records);
    }
    m_recordNumber = qint16(records.size() + 1);
    rewrite.commit();
}

bool CFile::TempLoad(const ListBox &lstVocab, QString *error)
{
    FileRewrite rewrite(grammarPath());
    if (!rewrite.isReady()) {
        if (error)
            *error = rewrite.error();
        return false;
    }
    if (!TempFileOpen(error))
        return false;
    for (const char *header :
         {"[Grammar]", "langid = 1033", "type=cfg", "[<start>]", "<start>=switch to"})
        TempFileStore(QLatin1String(header));
    for (const QString &phrase : spokenNames() + vocabularyPhrases(lstVocab))
        TempFileStore(QStringLiteral("<start>=") + phrase);

    if (!TempFileClose()) {
        if (error)
            *error = grammarPath() + QStringLiteral(": could not be written completely");
        return false;
    }
    try {
        rewrite.commit();
    } catch (const AppError &e) {
        if (error)
            *error = e.detail();
        return false;
    }
    return true;
}

QStringList CFile::spokenNames()
{
    QStringList names;
    InitRecord();
    FileOpen(false);
    DataChannelCloser closer(*this);
    while (!atEnd()) {
        try {
            const QString name = VAppCmdRecord::spokenName(FileRead(m_recordNumber));
            if (!name.isEmpty())
                names.append(name);
        } catch (const AppError &e) {
            // A record that cannot be read contributes no name; the others still count.
            qCDebug(lcData) << "grammar: application record" << m_recordNumber << e.message();
        }
        IncrementRecord();
    }
    return names;
}

QStringList CFile::vocabularyPhrases(const ListBox &lstVocab)
{
    QStringList phrases;
    QSet<QString> seen; // the phrases met so far, case-folded: the first spelling wins
    InitRecord();
    for (int i = 0; i < lstVocab.count(); ++i) {
        FileOpen(true, lstVocab.item(i));
        DataChannelCloser closer(*this);
        while (!atEnd()) {
            try {
                const QString phrase = FileRead(m_recordNumber).section(QLatin1Char(':'), 0, 0);
                if (!seen.contains(phrase.toCaseFolded())) {
                    seen.insert(phrase.toCaseFolded());
                    phrases.append(phrase);
                }
            } catch (const AppError &e) {
                // An unreadable word is left out of the grammar; the rest of its file still is in.
                qCDebug(lcData) << "grammar:" << lstVocab.item(i) << "word" << m_recordNumber
                                << e.message();
            }
            IncrementRecord();
        }
        InitRecord();
    }
    return phrases;
}

bool CFile::TempFileOpen(QString *error)
{
    return channel2().open(FileChannels::instance().resolve(grammarPath()), error);
}

void CFile::TempFileStore(const QString &sStoreValue)
{
    channel2().writeLine(sStoreValue);
}

bool CFile::TempFileClose()
{
    return channel2().close();
}
