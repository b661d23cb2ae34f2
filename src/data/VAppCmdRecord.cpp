#include "VAppCmdRecord.h"

VAppCmdRecord VAppCmdRecord::parse(const QString &record)
{
    VAppCmdRecord result;
    const qsizetype star = record.indexOf(QLatin1Char('*'));
    if (star < 0) {
        result.AppName = record;
        return result;
    }
    result.AppName = record.left(star);
    const qsizetype tilde = record.indexOf(QLatin1Char('~'), star + 1);
    if (tilde < 0)
        return result;
    result.UserName = record.mid(star + 1, tilde - star - 1);
    result.complete = true;
    const qsizetype dollar = record.indexOf(QLatin1Char('$'), tilde + 1);
    if (dollar < 0) {
        result.VocabName = record.mid(tilde + 1);
        return result;
    }
    result.VocabName = record.mid(tilde + 1, dollar - tilde - 1);
    result.PathName = record.mid(dollar + 1);
    return result;
}

QString VAppCmdRecord::spokenName(const QString &record)
{
    return parse(record.contains(QLatin1Char('*')) ? record : QLatin1Char('*') + record).UserName;
}

QString VAppCmdRecord::toString() const
{
    return AppName + QLatin1Char('*') + UserName + QLatin1Char('~') + VocabName + QLatin1Char('$') +
           PathName;
}

QString VAppCmdRecord::appNameProblem(const QString &appName)
{
    if (appName.contains(QLatin1Char('*')))
        return QStringLiteral("An application name cannot contain \"*\".");
    return {};
}

QString VAppCmdRecord::fieldProblem(const QString &userName, const QString &vocabName)
{
    if (userName.contains(QLatin1Char('~')))
        return QStringLiteral("A voice activation command cannot contain \"~\".");
    // A reader that takes the path from the record's first "$" would cut the name there.
    if (userName.contains(QLatin1Char('$')))
        return QStringLiteral("A voice activation command cannot contain \"$\".");
    if (vocabName.contains(QLatin1Char('$')))
        return QStringLiteral("A vocabulary name cannot contain \"$\".");
    return {};
}
