#include "CVocab.h"

#include "AppError.h"
#include "DataFiles.h"
#include "ListBox.h"

#include <QDir>

CVocab::CVocab(const QString &programDir, VocabLists lists) : m_file(programDir), m_lists(lists) {}

QStringList CVocab::vocabNames(const QString &programDir)
{
    const QDir dir(DataFiles::vocabFolder(programDir));
    const QStringList files =
        dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QString &file : files)
        names.append(file.section(QLatin1Char('.'), 0, 0));
    return names;
}

void CVocab::FillVocabFile(bool bCombo)
{
    if (!m_lists.lstVocab)
        return;
    for (const QString &name : vocabNames(m_file.programDir()))
        m_lists.lstVocab->addItem(name);
    if (bCombo || !m_lists.cmbVocabulary)
        return;
    for (int i = 0; i < m_lists.lstVocab->count(); ++i)
        m_lists.cmbVocabulary->addItem(m_lists.lstVocab->item(i));
}

void CVocab::FillDictionaryListBox(bool bVocab, const QString &sVocabName)
{
    m_file.InitRecord();
    m_file.FileOpen(bVocab, sVocabName);
    DataChannelCloser closer(m_file);
    while (!m_file.atEnd()) {
        const QString word = m_file.FileRead(m_file.RecordNumber());
        if (m_lists.lstDictionary)
            m_lists.lstDictionary->insertItem(m_file.RecordNumber() - 1, word);
        m_file.IncrementRecord();
    }
    m_file.InitRecord();
}

void CVocab::AddDictionaryWord(bool bVocab, const QString &sVocabName,
                               const QString &sDictionaryWord, const QString &sRoutine)
{
    m_file.FileOpen(bVocab, sVocabName);
    DataChannelCloser closer(m_file);
    if (sRoutine == QLatin1String("SaveChanges")) {
        m_file.FileStore(sDictionaryWord, m_file.RecordNumber());
    } else if (sRoutine == QLatin1String("MenuCopy")) {
        m_file.FileStore(sDictionaryWord, qint16(m_file.RecordNumber() - 1));
    } else if (sRoutine == QLatin1String("DictionaryDelete")) {
        m_file.FileStore(sDictionaryWord, m_file.RecordNumber());
        m_file.IncrementRecord();
    }
}

void CVocab::CreateNewVocab(const QString &sVocabName)
{
    m_file.FileNew(true, sVocabName);
    m_file.FileClose();
}

void CVocab::DeleteVocabFile(const QString &sDeletedFile)
{
    m_file.FileDelete(true, sDeletedFile);
}

qint16 CVocab::DictionaryRecordCount(const QString &sName)
{
    m_file.RecordCount(true, sName);
    return m_file.RecordNumber();
}

QString CVocab::ReadDictionary(qint16 iRecord, const QString &sName)
{
    m_file.FileOpen(true, sName);
    DataChannelCloser closer(m_file);
    return m_file.FileRead(iRecord);
}

void CVocab::DictionarySelect(const QString &sVocName, const QString &sDicName)
{
    m_file.FileOpen(true, sVocName);
    DataChannelCloser closer(m_file);
    m_file.InitRecord();
    while (!m_file.atEnd()) {
        if (m_file.FileRead(m_file.RecordNumber()) == sDicName) {
            m_trackDictionary = m_file.RecordNumber();
            return;
        }
        m_file.IncrementRecord();
    }
}

void CVocab::CopyDictionary(const QString &sDictionary)
{
    if (!m_copyList)
        m_copyList.emplace();
    m_copyList->append(sDictionary);
    m_file.IncrementRecord();
}

void CVocab::CopyAll()
{
    if (!m_lists.lstDictionary)
        return;
    for (int i = 0; i < m_lists.lstDictionary->count(); ++i)
        CopyDictionary(m_lists.lstDictionary->item(i));
}

QString CVocab::RetrieveDictionary(qint16 iRecNumber)
{
    if (!m_copyList || iRecNumber < 1 || iRecNumber > m_copyList->size())
        RaiseAppError(AppErrorNumber::NoDictionarySelection);
    const QString word = m_copyList->at(iRecNumber - 1);
    m_file.IncrementRecord();
    return word;
}
