#pragma once

#include <QString>
#include <functional>
#include <memory>

class QTemporaryFile;

// The hidden copy ".<name>.XXXXXX.new" beside a data file in which a rewrite builds the file's
// new content. The copy stays locked (flock) while its rewrite runs; the system drops the lock
// when the process ends in any way, so an unlocked copy was left by a rewrite that was
// interrupted (the program killed, the machine stopped) and can be removed without harm to a
// rewrite that another running instance is doing.
class StagedFile
{
public:
    // Creates and locks a new copy beside path; isOpen() tells whether that worked.
    explicit StagedFile(const QString &path);
    ~StagedFile();
    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;

    bool isOpen() const;
    QString fileName() const;
    QString errorString() const { return m_error; }
    // Ends the lock; the copy, or the file it was renamed to, stays.
    void release();

    // Removes the copies of path that no running rewrite holds; returns how many.
    static int removeLeftovers(const QString &path);
    // The same for every file of folder whose name isDataFile accepts.
    static int removeLeftoversIn(const QString &folder,
                                 const std::function<bool(const QString &)> &isDataFile);
    // The name of the file whose copy fileName is, or an empty string when it is no copy.
    static QString copiedFileName(const QString &fileName);

private:
    std::unique_ptr<QTemporaryFile> m_file;
    QString m_error;
};
