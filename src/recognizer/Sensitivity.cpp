#include "Sensitivity.h"

#include <QtGlobal>

double Sensitivity::coverageThreshold(int sensitivity)
{
    // From the sweep of bench/recognition's development set: at 0.6 (the default) with phrases
    // found inside other speech, few sentences are taken for commands and more commands said
    // over loud talk are kept than at 0.75.
    const int s = qBound(0, sensitivity, 100);
    return 1.0 - s * 0.008;
}

double Sensitivity::voiceMarginDb(int sensitivity)
{
    // From the development set of bench/recognition: at 6 dB (the default) talk 10 dB below
    // the commands gives no false command and about one command in a hundred is lost; 10 dB
    // lets the loudest moments of such talk through.
    return 3 + qBound(0, sensitivity, 100) * 0.06;
}

double Sensitivity::asideMarginDb(int sensitivity)
{
    // From the development set: at 6 dB (the default) a sentence around a command's words is
    // refused nearly always; 3 dB lets a quarter of such sentences through, 10 dB loses
    // commands said over talk 10 dB below them.
    return 9 - qBound(0, sensitivity, 100) * 0.06;
}

double Sensitivity::maxFramesPerPhone(int sensitivity)
{
    // From the development set: no command said on its own or over talk takes more than 16
    // frames of speech a phone in its slowest word; 30 (the default) leaves room for a user who
    // speaks slower than the synthesized voices, and refuses a phrase drawn over talk.
    return 20 + qBound(0, sensitivity, 100) * 0.2;
}

double Sensitivity::wordMarginDb(int sensitivity)
{
    // From the development set: at 14 dB (the default) a phrase that reaches from a command into
    // the quieter talk after it is refused (wrong commands over talk 20 dB 19 -> 14, over talk
    // 10 dB 25 -> 21) and about as many commands are kept as without; at 10 dB, commands whose
    // softer words are far below their stressed ones are lost too.
    return 11 + qBound(0, sensitivity, 100) * 0.06;
}
