#pragma once

#include "CFile.h"

#include <QStringList>
#include <optional>

class ListBox;

// The window lists that CVocab fills and reads; any of them may be absent.
struct VocabLists
{
    ListBox *lstVocab = nullptr;
    ListBox *lstDictionary = nullptr;
    ListBox *cmbVocabulary = nullptr;
};

// The vocabularies: one record file of dictionary words ("phrase:keystrokes") per vocabulary in
// vocab/. Keeps a cursor (its CFile's record number) and a copy list between calls.
class CVocab
{
public:
    explicit CVocab(const QString &programDir, VocabLists lists = {});

    void setLists(VocabLists lists) { m_lists = lists; }

    // Adds the vocabulary names to lstVocab, then, unless bCombo, every entry of lstVocab to
    // cmbVocabulary. Neither list is emptied first.
    void FillVocabFile(bool bCombo = false);
    void FillDictionaryListBox(bool bVocab, const QString &sVocabName);
    // sRoutine "SaveChanges" stores at the cursor, "MenuCopy" at the cursor - 1,
    // "DictionaryDelete" at the cursor and then advances it; anything else stores nothing.
    void AddDictionaryWord(bool bVocab, const QString &sVocabName, const QString &sDictionaryWord,
                           const QString &sRoutine);
    void CreateNewVocab(const QString &sVocabName);
    void DeleteVocabFile(const QString &sDeletedFile);
    qint16 DictionaryRecordCount(const QString &sName);
    QString ReadDictionary(qint16 iRecord, const QString &sName);
    // Leaves the cursor and TrackDictionary on the first word equal to sDicName (case counts).
    void DictionarySelect(const QString &sVocName, const QString &sDicName);
    void InitRecord() { m_file.InitRecord(); }
    void MinusRecord() { m_file.DecrementRecord(); }
    qint16 RecordNumber() const { return m_file.RecordNumber(); }

    void CopyDictionary(const QString &sDictionary);
    void CopyAll();
    // Entry iRecNumber (from 1) of the copy list; raises 13021 when there is none.
    QString RetrieveDictionary(qint16 iRecNumber);
    void DictionaryInitialize() { m_copyList.reset(); }

    qint16 SelectionNumber() const { return m_selectionNumber; }
    void setSelectionNumber(qint16 vNewValue) { m_selectionNumber = vNewValue; }
    void SelectInitialize() { m_selectionNumber = 0; }
    qint16 TrackDictionary() const { return m_trackDictionary; }
    void setTrackDictionary(qint16 sNewValue) { m_trackDictionary = sNewValue; }

    // The vocabulary names: ordinary, visible "*.txt" files of vocab/, each cut before its first
    // ".", sorted by name so that every listing has the same order.
    static QStringList vocabNames(const QString &programDir);

private:
    CFile m_file;
    VocabLists m_lists;
    std::optional<QStringList> m_copyList;
    qint16 m_selectionNumber = 0;
    qint16 m_trackDictionary = 0;
};
