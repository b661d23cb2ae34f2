#pragma once

#include "EditResult.h"
#include "data/CFile.h"
#include "data/VAppCmdRecord.h"

#include <QList>
#include <QStringList>

// The rules of editing the application list VAppCmd.txt, the same for the application window and
// the command line: list position p is record p + 1. Every edit returns an EditResult and shows
// nothing; the caller presents it.
class ApplicationList
{
public:
    struct Listing
    {
        QList<VAppCmdRecord> entries;
        // Failed when a damaged record ended the listing; the entries before it are listed, so
        // that positions still match records.
        EditResult result;

        QStringList names() const;
    };

    explicit ApplicationList(const QString &programDir);

    // The entries in record order, up to the first record without a name.
    Listing entries();
    // The fields of the entry at position; all empty when its record cannot be read, as showing
    // an entry never fails.
    VAppCmdRecord entry(int position);
    // Adds a running application, named "class ¦ title", in the first free record: refused when
    // the list holds it already (case ignored, as the list's own search) or when its name would
    // not read back.
    EditResult add(const QString &entry);
    // Saves the spoken name, vocabulary and path of the entry at position; its name stays.
    EditResult save(int position, const QString &spoken, const QString &vocabulary,
                    const QString &path);
    // Deletes the entry at position of listed, the list as the caller shows it (position -1:
    // nothing selected). Refused when the list and the file are out of step, since the rewrite
    // would then lose or repeat records.
    EditResult remove(const QStringList &listed, int position);
    // Refused, with its position, at the first entry without a spoken name or a vocabulary:
    // such an entry cannot be spoken to.
    EditResult checkComplete();

    // The records without the one of the entry appName: record recordHint when it is that one,
    // else the first one of that name.
    static QStringList recordsWithout(const QStringList &records, const QString &appName,
                                      int recordHint);

private:
    static QString nameProblem(const QString &entry);
    static QString fieldProblem(const QString &spoken, const QString &vocabulary);

    CFile m_file;
};
