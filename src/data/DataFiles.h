#pragma once

#include <QString>

// The names of the data files, spelled here and nowhere else: the application list, the grammar,
// and the vocabulary folder with one file per vocabulary, all in the data directory.
class DataFiles
{
public:
    // The application list's name as the record operations take it (they add ".txt").
    static QString appListName() { return QStringLiteral("VAppCmd"); }
    static QString appListFileName() { return appListName() + txt(); }
    static QString grammarFileName() { return QStringLiteral("temp.txt"); }
    static QString vocabFolderName() { return QStringLiteral("vocab"); }
    // "vocab/<name>.txt": how messages name a vocabulary's file.
    static QString vocabFileName(const QString &name)
    {
        return vocabFolderName() + QLatin1Char('/') + name + txt();
    }

    // "<dir>/<name>.txt": a record file in the data directory itself.
    static QString recordFilePath(const QString &dir, const QString &name)
    {
        return join(dir, name + txt());
    }
    static QString appListPath(const QString &dir) { return recordFilePath(dir, appListName()); }
    static QString grammarPath(const QString &dir) { return join(dir, grammarFileName()); }
    static QString vocabFolder(const QString &dir) { return join(dir, vocabFolderName()); }
    static QString vocabPath(const QString &dir, const QString &name)
    {
        return join(dir, vocabFileName(name));
    }

private:
    static QString txt() { return QStringLiteral(".txt"); }
    static QString join(const QString &dir, const QString &name)
    {
        return dir + QLatin1Char('/') + name;
    }
};
