#pragma once

#include "audio/SoundSources.h"

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

    // The level the user speaks at, from the level meter's full scale ("Startup/VUMeter"); 0
    // while they have not set it in the sound meter window, or when it is no positive number.
    static int voiceLevel();
    // The help asks the user to set the full scale so that their normal speech fills about
    // half of the bar.
    static int voiceLevelForFullScale(int fullScale) { return fullScale / 2; }

    // "Microphone" (the source's name) and "MicrophoneDescription": the source chosen in the
    // sound meter window. An empty name follows the sound server's default source.
    static SoundSource microphone();
    static void setMicrophone(const SoundSource &source);
};
