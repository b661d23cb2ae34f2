#pragma once

#include "platform/Shell.h"

#include <QStringList>

// Records what would have been opened or started, and answers with a chosen result code.
class FakeShell : public Shell
{
public:
    int openDocument(const QString &document, const QString &startIn) override;
    int exploreFolder(const QString &folder) override;
    bool startCommandLine(const QString &commandLine, QString *error = nullptr) override;

    void setResult(int code) { m_result = code; }
    // "open <document>", "explore <folder>", "start <command line>", in call order.
    const QStringList &calls() const { return m_calls; }

private:
    int m_result = Success;
    QStringList m_calls;
};
