#pragma once

#include <QString>

// Where the recognizer's sound comes from: 16 kHz, 16-bit, mono samples.
class AudioSource
{
public:
    virtual ~AudioSource() = default;

    // False, with a message the caller can show, when there is nothing to listen to.
    virtual bool open(QString *error) = 0;
    // What the last successful open wants the user to know (another microphone than the one
    // chosen); empty when all went as asked.
    virtual QString notice() const { return {}; }
    // Blocks until count samples are there, as a microphone does; false, with a message, when
    // the source fails.
    virtual bool read(qint16 *samples, int count, QString *error) = 0;
    virtual void close() = 0;
};
