#pragma once

#include "platform/Shell.h"

#include <QProcessEnvironment>

// Starts programs with QProcess and opens everything else with xdg-open, whose exit code tells
// whether it worked (QDesktopServices::openUrl reports success even when it did not).
class ProcessShell : public Shell
{
public:
    // openerWaitMs: how long xdg-open may take to tell whether it could open something; the
    // window waits that long at most.
    explicit ProcessShell(int openerWaitMs = 1500);

    ShellResult openDocument(const QString &document, const QString &startIn) override;
    ShellResult exploreFolder(const QString &folder) override;
    bool startCommandLine(const QString &commandLine, QString *error = nullptr) override;

    // Expands %VAR%, $VAR, ${VAR} and a leading ~ from env; unknown variables stay as written.
    static QString expandEnvironment(const QString &path, const QProcessEnvironment &env);

private:
    ShellResult runOpener(const QString &target);

    int m_openerWaitMs;
};
