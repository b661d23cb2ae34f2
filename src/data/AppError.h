#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Numbers of the errors that the data classes raise. The 13xxx ones are string-table ids whose
// texts the user sees; the small ones are the run-time errors that the record operations pass on.
namespace AppErrorNumber {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int FileNotFound = 53;
inline constexpr int PermissionDenied = 70;
inline constexpr int FileCorrupt = 13011;
inline constexpr int StoreRefused = 13012;
inline constexpr int NoVocabDirectory = 13013;
inline constexpr int NoDictionarySelection = 13021;
} // namespace AppErrorNumber

// A numbered error of the program. Callers tell errors apart by number(); detail() says what went
// wrong underneath (a path and the system's reason) for messages that need to be clear.
class AppError : public std::exception
{
public:
    AppError(int number, QString description, QString detail = {});

    int number() const { return m_number; }
    QString description() const { return m_description; }
    QString detail() const { return m_detail; }
    // "number description", then the detail in parentheses when there is one.
    QString message() const;
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QString m_detail;
    QByteArray m_what;
};

// The text stored under a string-table id, or the run-time error's own text.
QString appErrorText(int number);

// Raises the numbered error with its string-table text.
[[noreturn]] void RaiseAppError(int number, const QString &detail = {});
