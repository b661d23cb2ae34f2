#pragma once

// What the one sensitivity setting (0 refuses the most, 100 accepts the most) sets in the
// engine's refusal rules.
class Sensitivity
{
public:
    // The least share of the speech that a phrase's words must take up.
    static double coverageThreshold(int sensitivity);
    // How far below the user's voice level an utterance may stay, in dB.
    static double voiceMarginDb(int sensitivity);
    // How far below a phrase other speech beside it must stay, in dB.
    static double asideMarginDb(int sensitivity);
    // How far below a phrase's loudest word its quietest may stay, in dB.
    static double wordMarginDb(int sensitivity);
    // The most frames of speech a phone that a phrase's slowest word may take.
    static double maxFramesPerPhone(int sensitivity);
};
