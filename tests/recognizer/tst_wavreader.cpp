#include "recognizer/LevelMeter.h"
#include "recognizer/audio/WavReader.h"

#include <QTest>
#include <QtEndian>
#include <cmath>

// WAV files of any layout to 16 kHz mono, and the input level.
class TestWavReader : public QObject
{
    Q_OBJECT

private:
    // A WAV file built byte by byte, so the reader is not checked against itself.
    static QByteArray wav(quint16 format, int channels, int rate, int bits, const QByteArray &data,
                          const QByteArray &extraChunk = {})
    {
        QByteArray fmt(16, '\0');
        qToLittleEndian<quint16>(format, fmt.data());
        qToLittleEndian<quint16>(quint16(channels), fmt.data() + 2);
        qToLittleEndian<quint32>(quint32(rate), fmt.data() + 4);
        qToLittleEndian<quint32>(quint32(rate * channels * bits / 8), fmt.data() + 8);
        qToLittleEndian<quint16>(quint16(channels * bits / 8), fmt.data() + 12);
        qToLittleEndian<quint16>(quint16(bits), fmt.data() + 14);
        QByteArray body = "WAVE" + chunk("fmt ", fmt) + extraChunk + chunk("data", data);
        return chunk("RIFF", body);
    }
    static QByteArray chunk(const char *id, const QByteArray &body)
    {
        QByteArray size(4, '\0');
        qToLittleEndian<quint32>(quint32(body.size()), size.data());
        return QByteArray(id) + size + body +
               (body.size() % 2 ? QByteArray(1, '\0') : QByteArray());
    }
    template <typename T> static QByteArray samples(const QList<T> &values)
    {
        QByteArray bytes(values.size() * sizeof(T), '\0');
        for (qsizetype i = 0; i < values.size(); ++i)
            qToLittleEndian<T>(values[i], bytes.data() + i * sizeof(T));
        return bytes;
    }

private Q_SLOTS:
    void sixteenKiloHertzMonoPassesUnchanged()
    {
        const QList<qint16> values{0, 1000, -1000, 32767, -32768, 5};
        QList<qint16> out;
        QString error;
        QVERIFY2(WavReader::decode(wav(1, 1, 16000, 16, samples(values), chunk("LIST", "odd")),
                                   &out, &error),
                 qPrintable(error));
        QCOMPARE(out, values);
    }

    void stereoIsAveraged()
    {
        QList<qint16> out;
        QString error;
        QVERIFY(WavReader::decode(wav(1, 2, 16000, 16, samples<qint16>({1000, 3000, -200, 200})),
                                  &out, &error));
        QCOMPARE(out, (QList<qint16>{2000, 0}));
    }

    void otherLayouts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("expectedCount");
        QTest::addColumn<int>("expectedValue");
        // A constant level survives any resampling, so it shows each layout decoded right.
        QTest::newRow("8-bit unsigned at 8 kHz")
            << wav(1, 1, 8000, 8, QByteArray(800, char(128 + 64))) << 1600 << 16384;
        QTest::newRow("24-bit stereo at 48 kHz")
            << wav(1, 2, 48000, 24, QByteArray("\x00\x00\xC0", 3).repeated(9600)) << 1600 << -16384;
        QTest::newRow("float at 44.1 kHz")
            << wav(3, 1, 44100, 32, samples<float>(QList<float>(4410, 0.25f))) << 1600 << 8192;
        QTest::newRow("32-bit int at 22.05 kHz")
            << wav(1, 1, 22050, 32, samples<qint32>(QList<qint32>(2205, 1 << 29))) << 1600 << 8192;
    }
    void otherLayouts()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, expectedCount);
        QFETCH(int, expectedValue);
        QList<qint16> out;
        QString error;
        QVERIFY2(WavReader::decode(file, &out, &error), qPrintable(error));
        QVERIFY2(qAbs(out.size() - expectedCount) <= 2, qPrintable(QString::number(out.size())));
        QVERIFY(qAbs(out[out.size() / 2] - expectedValue) <= 2);
    }

    void notAWav_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text") << QByteArray("just some text") << "not a WAV";
        QTest::newRow("empty") << QByteArray() << "not a WAV";
        QTest::newRow("no data chunk")
            << chunk("RIFF", "WAVE" + chunk("fmt ", QByteArray(16, 1))) << "no sound data";
        QTest::newRow("compressed") << wav(2, 1, 16000, 4, QByteArray(100, 0)) << "not supported";
        QTest::newRow("no channels") << wav(1, 0, 16000, 16, QByteArray(100, 0)) << "channels";
    }
    void notAWav()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        QList<qint16> out;
        QString error;
        QVERIFY(!WavReader::decode(file, &out, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void levelIsRmsOfEachFiftyMilliseconds()
    {
        QList<qint16> sine(2000);
        for (qsizetype i = 0; i < sine.size(); ++i)
            sine[i] = qint16(std::lround(1000 * std::sin(2 * M_PI * 500 * i / 16000.0)));
        LevelMeter meter;
        QList<int> levels;
        meter.add(sine.constData(), 700, &levels);
        QVERIFY(levels.isEmpty());
        meter.add(sine.constData() + 700, 1300, &levels);
        QCOMPARE(levels.size(), 2);
        QCOMPARE(levels[0], 707);
        const QList<qint16> square{-3000, 3000, -3000, 3000};
        QCOMPARE(LevelMeter::rms(square.constData(), 4), 3000);
    }
};

QTEST_GUILESS_MAIN(TestWavReader)
#include "tst_wavreader.moc"
