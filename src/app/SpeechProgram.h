#pragma once

struct ProgramOptions;

// The program with its speech window: the recognizer listens to the microphone, or to WAV files
// played in real time in place of it.
class SpeechProgram
{
public:
    static int run(int argc, char *argv[], const ProgramOptions &options);
};
