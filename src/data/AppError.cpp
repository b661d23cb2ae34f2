#include "AppError.h"

AppError::AppError(int number, QString description, QString detail)
    : m_number(number), m_description(std::move(description)), m_detail(std::move(detail)),
      m_what(message().toUtf8())
{}

QString AppError::message() const
{
    QString text = QString::number(m_number) + QLatin1Char(' ') + m_description;
    if (!m_detail.isEmpty())
        text += QStringLiteral(" (") + m_detail + QLatin1Char(')');
    return text;
}

QString appErrorText(int number)
{
    using namespace AppErrorNumber;
    switch (number) {
    case Overflow:
        return QStringLiteral("Overflow");
    case SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case FileNotFound:
        return QStringLiteral("File not found");
    case PermissionDenied:
        return QStringLiteral("Permission denied");
    case FileCorrupt:
        return QStringLiteral(
            "File Corrupt:  Please Shut Down The Application And Create A New File.");
    case StoreRefused:
    case NoDictionarySelection:
        return QStringLiteral(
            "No Valid Dictionary Selection:  You Must Select A Dictionary Word!!");
    case NoVocabDirectory:
        return QStringLiteral("No \"Vocab\" Directory!  Please create the subdirectory \"Vocab\" "
                              "under \"JEV\" main directory.");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void RaiseAppError(int number, const QString &detail)
{
    throw AppError(number, appErrorText(number), detail);
}
