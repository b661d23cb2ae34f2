#pragma once

#include <QString>

// One voice-controlled application, stored as
//   AppName "*" UserName "~" VocabName "$" PathName
// A just-added application is AppName followed by "*" alone.
struct VAppCmdRecord
{
    QString AppName;
    QString UserName;
    QString VocabName;
    QString PathName;

    // Splits at the first "*", then the first "~" after it, then the first "$" after that, so a
    // window title holding "~" or "$" (a shell's "user@host: ~") keeps its fields apart. A missing
    // separator leaves the fields after it empty.
    static VAppCmdRecord parse(const QString &record);
    // The record string of a complete entry.
    QString toString() const;

    // Why a field cannot be stored without breaking the split, or an empty string.
    static QString appNameProblem(const QString &appName);
    static QString fieldProblem(const QString &userName, const QString &vocabName);
};
