#pragma once

#include <QStringList>

// The program with its speech window: the recognizer listens to the microphone, or to WAV files
// played in real time in place of it.
class SpeechProgram
{
public:
    struct Options
    {
        QString dataDir;
        QStringList audioFiles;
    };

    // Parses "[--data-dir DIR] [--audio-file F.wav ...]"; false, with why, on anything else.
    static bool parse(const QStringList &args, Options *options, QString *error);
    // True when args name a command-line task rather than the speech window.
    static bool isCommandLineTask(const QStringList &args);

    static int run(int argc, char *argv[], const Options &options);
};
