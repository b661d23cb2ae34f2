#pragma once

#include <QStringList>
#include <QTextStream>
#include <memory>

class ConsolePrompter;
class DesktopServices;
struct EditResult;
struct ProgramOptions;

// The command-line tasks of jev: each asks the engine classes that the windows use and presents
// their result. Exit codes: 0 done, 1 refused by a rule of the program, 2 wrong usage.
class CommandLine
{
public:
    enum ExitCode
    {
        Done = 0,
        Refused = 1,
        WrongUsage = 2
    };

    CommandLine(QTextStream &out, QTextStream &err);
    ~CommandLine();

    // Runs the task of options (a command word and its arguments).
    int run(const ProgramOptions &options);

private:
    int dispatch(const QString &command, const QStringList &args);
    int apps(const QStringList &args);
    int appsList();
    int vocabs(const QStringList &args);
    int words(const QStringList &args);
    int wordsList(const QString &vocab);
    int grammar();
    int windows();
    int say(const QString &phrase);
    int keys(const QString &text);
    int samples(const QStringList &args);

    bool desktopAvailable();
    // Done, or the result's message and detail on standard error and Refused.
    int present(const EditResult &result);
    int wrongUsage(const QString &why);
    int refuse(const QString &message);

    QTextStream &m_out;
    QTextStream &m_err;
    std::unique_ptr<ConsolePrompter> m_prompter;
    std::unique_ptr<DesktopServices> m_desktop;
    QString m_dir;
};
