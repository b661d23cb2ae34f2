// The WAV reader on arbitrary bytes, and on arbitrary sound behind a plain header: a file is
// decoded or refused with a message, never read beyond its end, comes out the same whole or in
// pieces, and 16 kHz 16-bit mono sound comes out exactly as it went in.

#include "FuzzCheck.h"
#include "recognizer/audio/WavReader.h"

#include <QtEndian>

namespace {

QByteArray le(quint32 value, int bytes)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    return QByteArray(buffer, bytes);
}

// A canonical 16 kHz 16-bit mono file around this sound data.
QByteArray plainWav(const QByteArray &sound)
{
    return "RIFF" + le(36 + sound.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
           le(16000, 4) + le(32000, 4) + le(2, 2) + le(16, 2) + "data" + le(sound.size(), 4) +
           sound;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    QList<qint16> samples;
    QString error;
    if (WavReader::decode(bytes, &samples, &error)) {
        // At most 16 samples out per byte in: the highest ratio is 8-bit sound at 1 kHz.
        FUZZ_CHECK(samples.size() <= bytes.size() * 16);
        // Read in small pieces, the sound comes out the same.
        WavReader reader;
        FUZZ_CHECK(reader.open(bytes, &error));
        const qsizetype piece = bytes.size() % 97 + 1;
        QList<qint16> buffer(piece);
        QList<qint16> pieces;
        qsizetype got = 0;
        while ((got = reader.read(buffer.data(), piece, &error)) > 0)
            pieces += buffer.first(got);
        FUZZ_CHECK(got == 0 && pieces == samples);
    } else {
        FUZZ_CHECK(!error.isEmpty());
    }

    const QByteArray sound = bytes.left(bytes.size() & ~qsizetype(1));
    FUZZ_CHECK(WavReader::decode(plainWav(sound), &samples, &error));
    FUZZ_CHECK(samples.size() == sound.size() / 2);
    for (qsizetype i = 0; i < samples.size(); ++i)
        FUZZ_CHECK(samples.at(i) == qFromLittleEndian<qint16>(sound.constData() + 2 * i));
    return 0;
}
