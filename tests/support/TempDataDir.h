#pragma once

#include "support/RecordFileBytes.h"

#include <QTemporaryDir>

// A temporary data directory with its vocab/ folder; the record files in it are written and read
// byte for byte (see RecordFileBytes).
class TempDataDir
{
public:
    TempDataDir() { QDir(m_dir.path()).mkdir(QStringLiteral("vocab")); }

    QString path() const { return m_dir.path(); }
    QString appFile() const { return path() + QStringLiteral("/VAppCmd.txt"); }
    QString vocabFile(const QString &name) const
    {
        return path() + QStringLiteral("/vocab/") + name + QStringLiteral(".txt");
    }
    // The files in vocab/, hidden ones too.
    QStringList vocabFiles() const
    {
        return QDir(path() + QStringLiteral("/vocab")).entryList(QDir::Files | QDir::Hidden);
    }

    void writeApps(const QList<QByteArray> &records) const
    {
        RecordFileBytes::write(appFile(), RecordFileBytes::file(records, 270));
    }
    void writeVocab(const QString &name, const QList<QByteArray> &words) const
    {
        RecordFileBytes::write(vocabFile(name), RecordFileBytes::file(words, 128));
    }
    QList<QByteArray> apps() const
    {
        return RecordFileBytes::records(RecordFileBytes::read(appFile()), 270);
    }
    QList<QByteArray> words(const QString &name) const
    {
        return RecordFileBytes::records(RecordFileBytes::read(vocabFile(name)), 128);
    }

private:
    QTemporaryDir m_dir;
};
