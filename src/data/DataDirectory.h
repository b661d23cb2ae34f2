#pragma once

#include <QString>

// Where the data files live: the first of --data-dir, $JEV_HOME, the executable's directory when
// it already holds VAppCmd.txt (a portable copy), and $XDG_DATA_HOME/jev (~/.local/share/jev).
class DataDirectory
{
public:
    struct Sources
    {
        QString commandLine;
        QString jevHome;
        QString executableDir;
        QString xdgDataHome;
        QString home;
    };

    static QString choose(const Sources &sources);
    // The sources of this process.
    static Sources fromEnvironment(const QString &commandLineDir);
    // Creates the directory and its vocab/ when missing; false with the reason when it cannot.
    // Removes the staged copies that interrupted rewrites of the data files left behind.
    static bool prepare(const QString &dir, QString *error);
};
