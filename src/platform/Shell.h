#pragma once

#include <QString>

// Starting programs and opening documents and folders. The open operations return -1 on
// success, else an error code: 2 file not found, 3 path not found, 5 access denied, 31 no
// application is associated with the file.
class Shell
{
public:
    static constexpr int Success = -1;
    static constexpr int FileNotFound = 2;
    static constexpr int PathNotFound = 3;
    static constexpr int AccessDenied = 5;
    static constexpr int NoAssociation = 31;

    virtual ~Shell() = default;

    // Starts an executable file in startIn, or opens any other file, folder or URL with the
    // desktop's default application. Environment references in the path are expanded.
    virtual int openDocument(const QString &document, const QString &startIn) = 0;
    // Opens a folder in the desktop's file manager.
    virtual int exploreFolder(const QString &folder) = 0;
    // Starts a command line (program and arguments) as a new process.
    virtual bool startCommandLine(const QString &commandLine, QString *error = nullptr) = 0;
};
