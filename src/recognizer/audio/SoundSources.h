#pragma once

#include <QList>
#include <QString>

// A place the sound server can record from: a microphone, a line input, or the monitor of an
// output.
struct SoundSource
{
    // The server's name for it ("alsa_input.pci-0000_00_1f.3.analog-stereo"): what is stored.
    QString name;
    // What people read ("Built-in Audio Analog Stereo").
    QString description;
};

// The sound server's sources, for the user to choose a microphone from.
class SoundSources
{
public:
    virtual ~SoundSources() = default;

    // The sources the server offers, the default one first, and the default's name. False, with
    // a message saying what to do, when no sound server answers.
    virtual bool list(QList<SoundSource> *sources, QString *defaultName, QString *error) = 0;
};
