#include "ApplicationList.h"

#include "EngineLog.h"
#include "data/DataFiles.h"

QStringList ApplicationList::Listing::names() const
{
    QStringList names;
    for (const VAppCmdRecord &entry : entries)
        names.append(entry.AppName);
    return names;
}

ApplicationList::ApplicationList(const QString &programDir) : m_file(programDir) {}

ApplicationList::Listing ApplicationList::entries()
{
    Listing listing;
    m_file.InitRecord();
    m_file.FileOpen(false);
    DataChannelCloser closer(m_file);
    while (!m_file.atEnd()) {
        const qint16 n = m_file.RecordNumber();
        try {
            const VAppCmdRecord entry = VAppCmdRecord::parse(m_file.FileRead(n));
            if (entry.AppName.isEmpty())
                break;
            listing.entries.append(entry);
        } catch (const AppError &e) {
            // The list shows what could be read; the detail says where it ended.
            listing.result = EditResult::failedQuietly(
                e, QStringLiteral("%1, record %2").arg(DataFiles::appListFileName()).arg(n));
            break;
        }
        m_file.IncrementRecord();
    }
    return listing;
}

VAppCmdRecord ApplicationList::entry(int position)
{
    try {
        m_file.FileOpen(false);
        DataChannelCloser closer(m_file);
        return VAppCmdRecord::parse(m_file.FileRead(qint16(position + 1)));
    } catch (const AppError &e) {
        // Showing an entry never fails: an unreadable record shows empty fields.
        qCDebug(lcEngine) << "entry" << position << "shown empty:" << e.message();
        return {};
    }
}

EditResult ApplicationList::add(const QString &entry)
{
    if (const QString problem = nameProblem(entry); !problem.isEmpty())
        return EditResult::refused(problem);
    const Listing listing = entries();
    if (listing.names().contains(entry, Qt::CaseInsensitive))
        return EditResult::refused(QStringLiteral("You Already Have An Entry With This Name!"));
    if (!listing.result.isDone())
        return listing.result; // the first free record may lie behind the damaged one
    try {
        m_file.InitRecord();
        m_file.RecordCount(false);
        m_file.FileOpen(false);
        DataChannelCloser closer(m_file);
        m_file.FileStore(VAppCmdRecord::justAdded(entry), m_file.RecordNumber());
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    return EditResult::done();
}

EditResult ApplicationList::save(int position, const QString &spoken, const QString &vocabulary,
                                 const QString &path)
{
    if (position < 0 || position >= entries().entries.size())
        return EditResult::refused(
            QStringLiteral("There is no application at position %1.").arg(position));
    if (const QString problem = fieldProblem(spoken, vocabulary); !problem.isEmpty())
        return EditResult::refused(problem);
    try {
        const qint16 record = qint16(position + 1);
        m_file.FileOpen(false);
        DataChannelCloser closer(m_file);
        m_file.FileStore(
            VAppCmdRecord::withFields(m_file.FileRead(record), spoken, vocabulary, path), record);
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    return EditResult::done();
}

EditResult ApplicationList::remove(const QStringList &listed, int position)
{
    if (position < 0 || position >= listed.size())
        return EditResult::refused(
            QStringLiteral("You must first select a voice-controlled application to delete."),
            QStringLiteral("No File Selected."), Prompter::Icon::Information);
    try {
        const QStringList kept = recordsWithout(m_file.readAll(false, DataFiles::appListName()),
                                                listed.at(position), position + 1);
        if (kept.size() != listed.size() - 1)
            RaiseAppError(AppErrorNumber::FileCorrupt,
                          QStringLiteral("the application list does not match ") +
                              DataFiles::appListFileName());
        m_file.replaceAll(false, DataFiles::appListName(), kept);
    } catch (const AppError &e) {
        return EditResult::failed(e, QStringLiteral("ERROR DELETE VOICE APPLIATION"),
                                  Prompter::Icon::Critical);
    }
    return EditResult::done();
}

EditResult ApplicationList::checkComplete()
{
    const Listing listing = entries();
    // The entries listed are those the window shows; a damaged record was told when it was
    // listed, and what lies behind it cannot be shown anyway.
    if (listing.result.error)
        qCDebug(lcEngine) << "completeness checked up to" << listing.result.detail;
    for (int i = 0; i < listing.entries.size(); ++i) {
        const VAppCmdRecord &entry = listing.entries.at(i);
        if (entry.UserName.isEmpty() || entry.VocabName.isEmpty()) {
            EditResult result = EditResult::refused(
                QStringLiteral("You must supply both a user-defined name and assign a vocabulary "
                               "for each application you wish to control!"),
                QStringLiteral("Insufficient Control Parameters"), Prompter::Icon::Information);
            result.position = i;
            return result;
        }
    }
    return EditResult::done();
}

QStringList ApplicationList::recordsWithout(const QStringList &records, const QString &appName,
                                            int recordHint)
{
    auto isEntry = [&](qsizetype i) {
        return VAppCmdRecord::parse(records.at(i)).AppName == appName;
    };
    qsizetype dropped = -1;
    if (recordHint >= 1 && recordHint <= records.size() && isEntry(recordHint - 1))
        dropped = recordHint - 1;
    for (qsizetype i = 0; dropped < 0 && i < records.size(); ++i) {
        if (isEntry(i))
            dropped = i;
    }
    QStringList kept = records;
    if (dropped >= 0)
        kept.removeAt(dropped);
    return kept;
}

QString ApplicationList::nameProblem(const QString &entry)
{
    if (entry.isEmpty())
        return QStringLiteral("An application entry cannot be empty.");
    if (entry.contains(QLatin1Char('*')))
        return QStringLiteral("An application name cannot contain \"*\".");
    return {};
}

QString ApplicationList::fieldProblem(const QString &spoken, const QString &vocabulary)
{
    if (spoken.contains(QLatin1Char('~')))
        return QStringLiteral("A voice activation command cannot contain \"~\".");
    // A reader that takes the path from the record's first "$" would cut the name there.
    if (spoken.contains(QLatin1Char('$')))
        return QStringLiteral("A voice activation command cannot contain \"$\".");
    if (vocabulary.contains(QLatin1Char('$')))
        return QStringLiteral("A vocabulary name cannot contain \"$\".");
    return {};
}
