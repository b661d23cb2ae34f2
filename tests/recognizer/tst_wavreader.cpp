#include "WavBytes.h"
#include "recognizer/LevelMeter.h"
#include "recognizer/audio/WavFileSource.h"
#include "recognizer/audio/WavReader.h"
#include "support/RecordFileBytes.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace WavBytes;

// WAV files of any layout to 16 kHz mono, read a piece at a time; headers that lie refused with
// a message; the input level.
class TestWavReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodedExactly_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<qint16>>("expected");
        const QList<qint16> values{0, 1000, -1000, 32767, -32768, 5};
        QTest::newRow("16 kHz mono, other chunk before the sound")
            << wav(1, 1, 16000, 16, samples(values), chunk("LIST", "odd")) << values;
        QTest::newRow("stereo averaged")
            << wav(1, 2, 16000, 16, samples<qint16>({1000, 3000, -200, 200}))
            << QList<qint16>{2000, 0};
        // Programs writing to a pipe do not know the length and leave a mark in its place; the
        // half frame at the end of a stream that was stopped is left out.
        for (const quint32 mark : {0x7FFFF000u, 0x7FFFFFFFu, 0xFFFFFFFFu})
            QTest::addRow("length unknown: %x", mark)
                << withDataSize(wav(1, 1, 16000, 16, samples(values)), mark) + '\x01' << values;
    }
    void decodedExactly()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<qint16>, expected);
        QList<qint16> out;
        QString error;
        QVERIFY2(WavReader::decode(file, &out, &error), qPrintable(error));
        QCOMPARE(out, expected);
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

    // A long file read a piece at a time must come out the same whatever the pieces, across the
    // reader's own pieces of the file too. A tone the model hears (under 8 kHz) comes out at its
    // level and at its time; one above 8 kHz must be filtered out, not fold back into the band
    // (10 kHz at 22.05 kHz would come back as 6 kHz, where speech sounds differ).
    void piecesOfALongFile_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("hertz");
        QTest::addColumn<double>("expectedLevel");
        struct Row
        {
            int rate;
            double hertz;
            double level;
        };
        const QList<Row> rows{{16000, 1000, 1}, {48000, 1000, 1}, {44100, 5000, 1},
                              {22050, 300, 1},  {8000, 2500, 1},  {48000, 12000, 0},
                              {44100, 9500, 0}, {22050, 10000, 0}};
        for (const Row &row : rows)
            QTest::addRow("%g Hz at %d Hz", row.hertz, row.rate)
                << row.rate << row.hertz << row.level;
    }
    void piecesOfALongFile()
    {
        QFETCH(int, rate);
        QFETCH(double, hertz);
        QFETCH(double, expectedLevel);
        constexpr double amplitude = 16000;
        const qsizetype n = 3 * rate;
        QList<qint16> tone(n);
        for (qsizetype i = 0; i < n; ++i)
            tone[i] = qint16(std::lround(amplitude * std::sin(2 * M_PI * hertz * i / rate)));
        const QByteArray file = wav(1, 1, rate, 16, samples(tone));

        QList<qint16> whole;
        for (const qsizetype piece : {16000, 333, 1}) {
            WavReader reader;
            QString error;
            QVERIFY2(reader.open(file, &error), qPrintable(error));
            QList<qint16> out;
            QList<qint16> buffer(piece);
            qsizetype got = 0;
            while ((got = reader.read(buffer.data(), piece, &error)) > 0)
                out += buffer.first(got);
            QCOMPARE(got, 0);
            QCOMPARE(out.size(), qsizetype(std::ceil(n * 16000.0 / rate)));
            if (whole.isEmpty())
                whole = out;
            QCOMPARE(out, whole);
        }
        // Away from the ends, where the filter meets the silence around the sound.
        double worst = 0;
        double power = 0;
        const qsizetype from = 1600;
        const qsizetype to = whole.size() - 1600;
        for (qsizetype k = from; k < to; ++k) {
            const double ideal =
                expectedLevel * amplitude * std::sin(2 * M_PI * hertz * k / 16000.0);
            worst = std::max(worst, std::abs(whole[k] - ideal));
            power += double(whole[k]) * whole[k];
        }
        const double level = std::sqrt(power / double(to - from)) / (amplitude / std::sqrt(2.0));
        // Within 3% of the tone, at the right time; what should be gone at least 40 dB down.
        QVERIFY2(worst < 0.03 * amplitude, qPrintable(QString("off by %1").arg(worst)));
        QVERIFY2(std::abs(level - expectedLevel) < 0.01 + 0.02 * expectedLevel,
                 qPrintable(QString("level %1").arg(level)));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        const QByteArray fmt = chunk("fmt ", format(1, 1, 16000, 16));
        const QByteArray good = wav(1, 1, 16000, 16, QByteArray(100, 0));
        QTest::newRow("text") << QByteArray("just some text") << "not a WAV";
        QTest::newRow("empty") << QByteArray() << "not a WAV";
        QTest::newRow("RIFF but not WAVE") << chunk("RIFF", "AVI " + fmt) << "not a WAV";
        QTest::newRow("no chunks") << chunk("RIFF", "WAVE") << "no format chunk";
        QTest::newRow("sound before its format")
            << chunk("RIFF", "WAVE" + chunk("data", QByteArray(4, 0)) + fmt)
            << "before its format chunk";
        QTest::newRow("no data chunk") << chunk("RIFF", "WAVE" + fmt) << "no sound data";
        QTest::newRow("header promises sound that is not there")
            << withDataSize(good, 64000)
            << "promises 64000 bytes of sound, but the file holds "
               "only 100";
        QTest::newRow("cut inside the format chunk") << good.left(30) << "ends inside a chunk";
        QTest::newRow("cut inside a chunk before the sound")
            << wav(1, 1, 16000, 16, {}, chunk("LIST", QByteArray(500, 'x'))).left(100)
            << "ends inside a chunk";
        QTest::newRow("format chunk too short")
            << chunk("RIFF", "WAVE" + chunk("fmt ", format(1, 1, 16000, 16).left(14)))
            << "format chunk is too short (14 bytes)";
        QTest::newRow("frame size that does not fit the layout")
            << chunk("RIFF", "WAVE" + chunk("fmt ", format(1, 2, 16000, 16, 2)) +
                                 chunk("data", QByteArray(8, 0)))
            << "frames of 2 bytes, but a frame of 2 channels of 16 bits has 4";
        QTest::newRow("sound of part of a frame") << wav(1, 2, 16000, 16, QByteArray(6, 0))
                                                  << "(6 bytes) is not a whole number of "
                                                     "4-byte frames";
        QTest::newRow("compressed") << wav(2, 1, 16000, 4, QByteArray(100, 0)) << "not supported";
        QTest::newRow("no channels") << wav(1, 0, 16000, 16, QByteArray(100, 0)) << "channels";
        QTest::newRow("no rate") << wav(1, 1, 0, 16, QByteArray(100, 0)) << "at 0 Hz";
    }
    void refused()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        QList<qint16> out;
        QString error;
        QVERIFY(!WavReader::decode(file, &out, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));

        // A file's message names it.
        QTemporaryDir dir;
        const QString path = dir.filePath("bad sound.wav");
        RecordFileBytes::write(path, file);
        QVERIFY(!WavReader::read(path, &out, &error));
        QVERIFY2(error.startsWith("The sound file " + path + " cannot be used: ") &&
                     error.contains(reason),
                 qPrintable(error));
    }

    // In place of the microphone: the files one after another, then silence; a bad file among
    // them refuses the opening, with its name.
    void filesPlayedOneAfterAnother()
    {
        QTemporaryDir dir;
        auto write = [&dir](const QString &name, const QByteArray &bytes) {
            RecordFileBytes::write(dir.filePath(name), bytes);
            return dir.filePath(name);
        };
        QList<qint16> first(50000);
        for (qsizetype i = 0; i < first.size(); ++i)
            first[i] = qint16(i % 3000 + 1);
        const QList<qint16> second{-5, 6, -7};
        const QString a = write("a.wav", wav(1, 1, 16000, 16, samples(first)));
        const QString b =
            write("b.wav", wav(1, 2, 16000, 16, samples<qint16>({-4, -6, 6, 6, -7, -7})));
        const QString cut = write("cut.wav", wav(1, 1, 16000, 16, samples(first)).left(5000));

        QString error;
        WavFileSource bad({a, cut}, 1000.0);
        QVERIFY(!bad.open(&error));
        QVERIFY2(error.contains(cut) && error.contains("promises"), qPrintable(error));

        WavFileSource source({a, b}, 1000.0);
        QVERIFY2(source.open(&error), qPrintable(error));
        QList<qint16> heard;
        QList<qint16> piece(320);
        for (int i = 0; i < 160; ++i) {
            QVERIFY2(source.read(piece.data(), piece.size(), &error), qPrintable(error));
            heard += piece;
        }
        QCOMPARE(heard.size(), 51200);
        QCOMPARE(heard.first(first.size()), first);
        QCOMPARE(heard.sliced(first.size(), second.size()), second);
        QCOMPARE(heard.sliced(first.size() + second.size()),
                 QList<qint16>(heard.size() - first.size() - second.size(), 0));
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
