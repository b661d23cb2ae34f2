#pragma once

#include "recognizer/SphinxEngine.h"

#include <QString>

class QCoreApplication;

// The benchmark's command line. An unknown option or a value that is no number ends the run with
// a message: a mistyped switch must not measure the defaults under another name.
struct BenchArguments
{
    bool development = false;
    bool sweep = false;
    // List the misses of every condition, not only those of clean speech.
    bool everyMiss = false;
    bool runPeer = true;
    bool setVoiceLevel = true;
    // At most this many voices of the set; -1: all.
    int voiceCount = -1;
    double talkMinutes = 10;
    // Comma-separated condition names; empty: all.
    QString conditionNames;
    // 0: off; see Benchmark::setFrontGroups.
    int frontGroups = 0;
    bool frontFilter = false;
    SphinxEngine::Options options;

    // Parses app's arguments; prints the help or the error and exits on --help or bad input.
    static BenchArguments parse(const QCoreApplication &app);
};
