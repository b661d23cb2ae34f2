#pragma once

#include <QStringList>
#include <QTextStream>

class ConsolePrompter;
class DesktopServices;

// The command-line tasks of jev: each runs the classes the windows use, in the order the windows
// call them. Exit codes: 0 done, 1 refused by a rule of the program, 2 wrong usage.
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

    // args without the program name.
    int run(QStringList args);
    static QString usage();

private:
    int dispatch(const QString &command, const QStringList &args);
    int apps(const QStringList &args);
    int appsList();
    int appsAdd(const QString &entry);
    int appsSet(const QStringList &args);
    int appsDelete(const QString &position);
    int vocabs(const QStringList &args);
    int vocabsNew(const QString &name);
    int vocabsDelete(const QString &name);
    int words(const QStringList &args);
    int wordsList(const QString &vocab);
    int wordsAdd(const QString &vocab, const QString &word);
    int wordsSet(const QString &vocab, const QString &index, const QString &word);
    int wordsDelete(const QString &vocab, const QString &index);
    int grammar();
    int windows();
    int say(const QString &phrase);
    int keys(const QString &text);

    bool vocabularyExists(const QString &name);
    bool desktopAvailable();
    int wrongUsage(const QString &why);
    int refuse(const QString &message);

    QTextStream &m_out;
    QTextStream &m_err;
    std::unique_ptr<ConsolePrompter> m_prompter;
    std::unique_ptr<DesktopServices> m_desktop;
    QString m_dir;
};
