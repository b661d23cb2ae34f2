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
    // False when the record has no "*" followed by "~": it holds no spoken name field (an entry
    // just added), so it is passed over where spoken names are compared.
    bool complete = false;

    // Splits at the first "*", then the first "~" after it, then the first "$" after that, so a
    // window title holding "~" or "$" (a shell's "user@host: ~") keeps its fields apart. A missing
    // separator leaves the fields after it empty.
    static VAppCmdRecord parse(const QString &record);
    // The spoken name as the grammar takes it: a record without "*" is read as if it began with
    // one, so that its text before the first "~" still counts.
    static QString spokenName(const QString &record);
    // The record string of a complete entry.
    QString toString() const;
    // The record of an entry just added: the name and "*", without fields.
    static QString justAdded(const QString &appName);
    // The record with its fields after the "*" replaced; the entry's name never changes.
    static QString withFields(const QString &record, const QString &userName,
                              const QString &vocabName, const QString &pathName);
};
