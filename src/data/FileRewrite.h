#pragma once

#include <QString>
#include <memory>

class StagedFile;

// Rewrites a data file without ever leaving it half-written. The constructor creates an empty,
// uniquely named hidden file beside it (a StagedFile) and sends every later open of the file
// there; the caller fills it with the ordinary record operations; commit() renames it over the
// original in one step. Without a commit the staged file is removed and the original stays as it
// was, so a failure at any step leaves either the old or the new content, whole, also when two
// processes rewrite the same file at once. A staged file that a killed process left behind is
// removed by the next rewrite of the same file.
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
    // When the staged file could not be made, raises what deleting the file would: 53 File not
    // found when its folder is missing, else 70 Permission denied, with the folder and the reason.
    void raiseUnlessReady() const;
    // Raises 70 with the reason when the new file may not take the old one's place, 13012 when
    // its content could not be made durable.
    void commit();

private:
    void abandon();

    QString m_path;
    std::unique_ptr<StagedFile> m_staged;
    QString m_stagedPath;
    bool m_ready = false;
    bool m_done = false;
    int m_errorNumber = 0;
    QString m_error;
};
