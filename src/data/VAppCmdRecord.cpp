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

QString VAppCmdRecord::justAdded(const QString &appName)
{
    return appName + QLatin1Char('*');
}

QString VAppCmdRecord::withFields(const QString &record, const QString &userName,
                                  const QString &vocabName, const QString &pathName)
{
    return VAppCmdRecord{parse(record).AppName, userName, vocabName, pathName}.toString();
}
