#include "FakeShell.h"

ShellResult FakeShell::openDocument(const QString &document, const QString &startIn)
{
    Q_UNUSED(startIn)
    m_calls.append(QStringLiteral("open ") + document);
    return m_result;
}

ShellResult FakeShell::exploreFolder(const QString &folder)
{
    m_calls.append(QStringLiteral("explore ") + folder);
    return m_result;
}

bool FakeShell::startCommandLine(const QString &commandLine, QString *error)
{
    m_calls.append(QStringLiteral("start ") + commandLine);
    if (m_result != ShellResult::Success && error)
        *error = QStringLiteral("refused");
    return m_result == ShellResult::Success;
}
