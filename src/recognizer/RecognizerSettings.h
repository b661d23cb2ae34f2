#pragma once

// The recognizer's settings in the per-user settings store, group "Recognizer", and the one
// setting of the speech window that it reads.
class RecognizerSettings
{
public:
    static constexpr int DefaultSensitivity = 50;

    // "Sensitivity", 0 to 100: higher accepts more of what it hears as commands, lower refuses
    // more of what is not a command. Out-of-range or unreadable values give the default.
    static int sensitivity();
    static void setSensitivity(int value);

    // The level the user speaks at: the level meter's full scale ("Startup/VUMeter"), which the
    // user sets to their voice in the sound meter window; 0 while they have not set it, or when
    // it is no positive number.
    static int voiceLevel();
};
