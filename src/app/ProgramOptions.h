#pragma once

#include <QStringList>
#include <optional>

// What jev was asked to do: [--data-dir DIR] [--audio-file F.wav ...] [COMMAND ARGS...],
// --help or --version. Without a command the speech window starts; with one, that task runs and jev
// exits.
struct ProgramOptions
{
    QString dataDir;
    QStringList audioFiles;
    bool help = false;
    bool version = false;
    // The command word and its arguments; empty for the speech window.
    QStringList task;

    // The data directory: --data-dir, else $JEV_HOME, else the program's directory when it holds
    // the application list, else ~/.local/share/jev.
    QString dataDirectory() const;

    // No value, with why, on wrong usage.
    static std::optional<ProgramOptions> parse(const QStringList &args, QString *error);
    static QString usage();
    // A position or index argument of a task: a whole number from 0.
    static std::optional<int> index(const QString &text);
};
