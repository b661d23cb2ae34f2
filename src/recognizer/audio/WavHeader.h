#pragma once

#include <QString>
#include <QtGlobal>

class QIODevice;

// The chunks of a RIFF WAVE file before its sound: the sound's layout and where its data lies,
// checked against the file. The size of the sound data is trusted only when the file holds it;
// the RIFF chunk's own size is not looked at, since many writers leave it wrong.
class WavHeader
{
public:
    // Reads the header from the start of device; empty when the sound can be decoded, else what
    // is wrong ("it is not a WAV file.").
    QString read(QIODevice &device);

    bool isFloat() const;
    int bytesPerSample() const { return bits / 8; }
    int frameBytes() const { return bytesPerSample() * channels; }

    quint16 format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int blockAlign = 0;
    // Where the sound data begins in the file and how many bytes of whole frames it has.
    qint64 dataStart = 0;
    qint64 dataSize = 0;

private:
    QString readFormat(QIODevice &device, qint64 size);
    QString checkFormat() const;
    QString placeData(qint64 start, quint32 size, qint64 fileSize);
};
