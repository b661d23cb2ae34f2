#pragma once

#include "GrammarChannel.h"
#include "RecordChannel.h"

#include <QHash>
#include <QString>
#include <functional>

// The two process-wide file channels, and the table of files whose new content is being built
// aside (see FileRewrite): while a file is listed there, every open of it goes to its new copy.
class FileChannels
{
public:
    static FileChannels &instance();

    RecordChannel &data() { return m_data; }
    GrammarChannel &grammar() { return m_grammar; }

    // The path to open for a data file: its staged copy while it is being rewritten.
    QString resolve(const QString &path) const { return m_redirects.value(path, path); }
    void redirect(const QString &path, const QString &stagedPath);
    void endRedirect(const QString &path);

    // Tests make a file operation fail at a chosen step ("create", "store", "commit") to prove
    // that a failure anywhere leaves every data file whole. Returns true to fail the step.
    using FaultHook = std::function<bool(const char *step)>;
    void setFaultHook(FaultHook hook) { m_faultHook = std::move(hook); }
    bool injectFault(const char *step) const { return m_faultHook && m_faultHook(step); }

private:
    FileChannels() = default;

    RecordChannel m_data;
    GrammarChannel m_grammar;
    QHash<QString, QString> m_redirects;
    FaultHook m_faultHook;
};
