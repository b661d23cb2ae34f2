#pragma once

#include "platform/Shell.h"

#include <QStringList>

// Records what would have been opened or started, and answers with a chosen result.
class FakeShell : public Shell
{
public:
    ShellResult openDocument(const QString &document, const QString &startIn) override;
    ShellResult exploreFolder(const QString &folder) override;
    bool startCommandLine(const QString &commandLine, QString *error = nullptr) override;

    void setResult(ShellResult result) { m_result = result; }
    // "open <document>", "explore <folder>", "start <command line>", in call order.
    const QStringList &calls() const { return m_calls; }

private:
    ShellResult m_result = ShellResult::Success;
    QStringList m_calls;
};
