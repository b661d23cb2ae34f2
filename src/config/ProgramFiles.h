#pragma once

#include <QString>

// The program's read-only files (the help book, icons): beside the executable in a build or a
// portable copy, else under the install prefix's share/jev.
class ProgramFiles
{
public:
    // The folder holding name ("help", "icons"), or an empty string when there is none.
    static QString folder(const QString &name);
};
