#pragma once

#include <QString>

// How an attempt to open a document or folder ended.
enum class ShellResult
{
    Success,
    FileNotFound,
    PathNotFound,
    AccessDenied,
    NoAssociation // no application opens this kind of file
};

// Starting programs and opening documents and folders.
class Shell
{
public:
    virtual ~Shell() = default;

    // Starts an executable file in startIn, or opens any other file, folder or URL with the
    // desktop's default application. Environment references in the path are expanded.
    virtual ShellResult openDocument(const QString &document, const QString &startIn) = 0;
    // Opens a folder in the desktop's file manager.
    virtual ShellResult exploreFolder(const QString &folder) = 0;
    // Starts a command line (program and arguments) as a new process.
    virtual bool startCommandLine(const QString &commandLine, QString *error = nullptr) = 0;
};
