#pragma once

#include <QString>

// Rewrites a data file without ever leaving it half-written. The constructor creates an empty,
// uniquely named hidden file beside it and sends every later open of the file there; the caller
// fills it with the ordinary record operations; commit() renames it over the original in one step.
// Without a commit the staged file is removed and the original stays as it was, so a failure at
// any step leaves either the old or the new content, whole, also when two processes rewrite the
// same file at once.
class FileRewrite
{
public:
    explicit FileRewrite(const QString &path);
    ~FileRewrite();
    FileRewrite(const FileRewrite &) = delete;
    FileRewrite &operator=(const FileRewrite &) = delete;

    // False when the staged file could not be made; the error says why.
    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    // Raises the numbered error 13012 with the reason when the rename fails.
    void commit();

private:
    void abandon();

    QString m_path;
    QString m_stagedPath;
    bool m_ready = false;
    bool m_done = false;
    QString m_error;
};
