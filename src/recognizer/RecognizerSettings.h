#pragma once

// The recognizer's settings in the per-user settings store, group "Recognizer".
class RecognizerSettings
{
public:
    static constexpr int DefaultSensitivity = 50;

    // "Sensitivity", 0 to 100: higher accepts more of what it hears as commands, lower refuses
    // more of what is not a command. Out-of-range or unreadable values give the default.
    static int sensitivity();
    static void setSensitivity(int value);
};
