#include "data/AppError.h"
#include "data/CFile.h"
#include "data/Cp1252Codec.h"
#include "support/Raised.h"
#include "support/TempDataDir.h"

#include <QTemporaryDir>
#include <QTest>

using namespace AppErrorNumber;

class TestRecordFile : public QObject
{
    Q_OBJECT

private:
    QString fileOf(bool vocab) const { return vocab ? m_dir->vocabFile("V") : m_dir->appFile(); }

    // Reads every record the way the program's readers walk a file.
    QStringList readAll(CFile &file, bool vocab)
    {
        QStringList seen;
        file.InitRecord();
        file.FileOpen(vocab, QStringLiteral("V"));
        DataChannelCloser closer(file);
        while (!file.atEnd()) {
            seen.append(file.FileRead(file.RecordNumber()));
            file.IncrementRecord();
        }
        return seen;
    }

    std::unique_ptr<TempDataDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<TempDataDir>(); }

    void slotLimits_data()
    {
        QTest::addColumn<bool>("vocab");
        QTest::addColumn<int>("slot");
        QTest::newRow("VAppCmd.txt") << false << 270;
        QTest::newRow("vocabulary") << true << 128;
    }

    // The longest record fits, one byte more is refused and the slot keeps its old content;
    // record 2 starts one slot in. Lengths count code-page bytes: "é" is one.
    void slotLimits()
    {
        QFETCH(bool, vocab);
        QFETCH(int, slot);
        const QString longest(slot - 2, QChar(u'é'));
        CFile file(m_dir->path());
        file.FileOpen(vocab, QStringLiteral("V"));
        file.FileStore(QStringLiteral("first"), 1);
        file.FileStore(longest, 2);
        file.FileClose();

        const QByteArray before = RecordFileBytes::read(fileOf(vocab));
        QCOMPARE(before.mid(slot, 2), QByteArray::fromHex(slot == 270 ? "0c01" : "7e00"));
        QCOMPARE(before.mid(slot + 2, slot - 2), longest.toLatin1());
        QCOMPARE(readAll(file, vocab), QStringList({QStringLiteral("first"), longest}));

        file.FileOpen(vocab, QStringLiteral("V"));
        QCOMPARE(raised([&] { file.FileStore(longest + QLatin1Char('y'), 2); }).number(),
                 StoreRefused);
        // The refused store closed the channel.
        QVERIFY_THROWS_EXCEPTION(AppError, file.FileRead(1));
        QCOMPARE(RecordFileBytes::read(fileOf(vocab)), before);
    }

    void refusedAccess_data()
    {
        QTest::addColumn<bool>("store");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("number");
        QTest::newRow("store at record 0") << true << true << 0 << int(StoreRefused);
        QTest::newRow("read of record 0") << false << true << 0 << int(FileCorrupt);
        QTest::newRow("store on a closed channel") << true << false << 1 << int(StoreRefused);
        QTest::newRow("read on a closed channel") << false << false << 1 << int(FileCorrupt);
    }

    void refusedAccess()
    {
        QFETCH(bool, store);
        QFETCH(bool, open);
        QFETCH(int, record);
        QFETCH(int, number);
        CFile file(m_dir->path());
        if (open)
            file.FileOpen(false);
        const AppError error = raised([&] {
            if (store)
                file.FileStore(QStringLiteral("x"), qint16(record));
            else
                file.FileRead(qint16(record));
        });
        QCOMPARE(error.number(), number);
        file.FileClose();
        QCOMPARE(RecordFileBytes::read(m_dir->appFile()), QByteArray());
    }

    void readingAndCounting_data()
    {
        QTest::addColumn<QList<QByteArray>>("records");
        QTest::addColumn<int>("countFrom1");
        QTest::addColumn<int>("countFromEnd");
        QTest::newRow("three records") << QList<QByteArray>{"a*", "b*", "c*"} << 4 << 4;
        QTest::newRow("record 2 empty") << QList<QByteArray>{"a*", "", "c*"} << 2 << 4;
        QTest::newRow("empty last record") << QList<QByteArray>{"a*", ""} << 2 << 3;
        QTest::newRow("no file: created empty") << QList<QByteArray>{} << 1 << 1;
    }

    // A full read visits every record once, a missing file is created empty; a count stops at
    // the first empty record and does not reset the cursor first.
    void readingAndCounting()
    {
        QFETCH(QList<QByteArray>, records);
        QFETCH(int, countFrom1);
        QFETCH(int, countFromEnd);
        if (!records.isEmpty())
            m_dir->writeApps(records);
        CFile file(m_dir->path());
        QStringList expected;
        for (const QByteArray &r : records)
            expected.append(QString::fromLatin1(r));
        QCOMPARE(readAll(file, false), expected);
        QVERIFY(QFile::exists(m_dir->appFile()));

        file.InitRecord();
        file.RecordCount(false);
        QCOMPARE(file.RecordNumber(), qint16(countFrom1));
        file.setRecordNumber(qint16(records.size() + 1));
        file.RecordCount(false);
        QCOMPARE(file.RecordNumber(), qint16(countFromEnd));
    }

    void readPastTheEnd()
    {
        m_dir->writeApps({"a*", "b*", "c*"});
        CFile file(m_dir->path());
        file.FileOpen(false);
        QVERIFY(!file.atEnd());
        QCOMPARE(file.FileRead(5), QString());
        QVERIFY(file.atEnd());
        QCOMPARE(file.FileRead(3), QStringLiteral("c*"));
        QVERIFY(file.atEnd());
        file.FileClose();
    }

    // A record whose length word claims more than its slot holds raises 13011, the readers can go
    // on past it, and a store elsewhere leaves the damaged bytes alone. Slots cut short at the end
    // of the file are met by the recordfile corpus replay.
    void damagedRecord()
    {
        QByteArray damaged = RecordFileBytes::slot("x", 270);
        damaged[0] = char(0x0d); // 269 bytes claimed in a slot that holds 268
        damaged[1] = char(0x01);
        const QByteArray good = RecordFileBytes::slot("good*", 270);
        const QByteArray bytes = good + damaged + good;
        RecordFileBytes::write(m_dir->appFile(), bytes);
        CFile file(m_dir->path());
        file.FileOpen(false);
        QCOMPARE(file.FileRead(1), QStringLiteral("good*"));
        const AppError error = raised([&] { file.FileRead(2); });
        QCOMPARE(error.number(), FileCorrupt);
        QVERIFY2(error.detail().contains(QStringLiteral("record 2")), qPrintable(error.detail()));
        file.FileStore(QStringLiteral("new*"), 1);
        file.FileClose();
        const QByteArray after = RecordFileBytes::read(m_dir->appFile());
        QCOMPARE(after.mid(270), bytes.mid(270));
        QCOMPARE(RecordFileBytes::records(after, 270).first(), QByteArray("new*"));
    }

    void codePage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("broken bar")
            << QStringLiteral("a ¦ b") << QByteArray("a \xA6 b") << QStringLiteral("a ¦ b");
        QTest::newRow("euro and quotes")
            << QStringLiteral("€ “x”") << QByteArray("\x80 \x93x\x94") << QStringLiteral("€ “x”");
        QTest::newRow("outside the code page") << QStringLiteral("łódź")
                                               << QByteArray("?\xF3"
                                                             "d?")
                                               << QStringLiteral("?ód?");
        QTest::newRow("outside the basic plane") << QString::fromUtf8("a\xF0\x9F\x8E\xA4z")
                                                 << QByteArray("a?z") << QStringLiteral("a?z");
        QTest::newRow("undefined byte survives")
            << QString(QChar(0x81)) << QByteArray("\x81") << QString(QChar(0x81));
    }

    void codePage()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readBack);
        CFile file(m_dir->path());
        file.FileOpen(false);
        file.FileStore(text, 1);
        file.FileClose();
        QCOMPARE(m_dir->apps().first(), bytes);
        file.FileOpen(false);
        QCOMPARE(file.FileRead(1), readBack);
        file.FileClose();
    }

    // Every byte decodes to a character that encodes back to the same byte.
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1252Codec::encode(Cp1252Codec::decode(all)), all);
    }

    void deleteAndRecreate()
    {
        CFile file(m_dir->path());
        QCOMPARE(raised([&] { file.FileDelete(true, QStringLiteral("Missing")); }).number(),
                 FileNotFound);
        m_dir->writeVocab("Old", {"w:x"});
        file.FileNew(true, QStringLiteral("Old"));
        file.FileClose();
        QCOMPARE(RecordFileBytes::read(m_dir->vocabFile("Old")), QByteArray());
        file.FileDelete(true, QStringLiteral("Old"));
        QVERIFY(!QFile::exists(m_dir->vocabFile("Old")));
    }

    void cursorOverflow()
    {
        CFile file(m_dir->path());
        file.setRecordNumber(32767);
        QVERIFY_THROWS_EXCEPTION(AppError, file.IncrementRecord());
        QCOMPARE(file.RecordNumber(), qint16(32767));
        file.setRecordNumber(-32768);
        QVERIFY_THROWS_EXCEPTION(AppError, file.DecrementRecord());
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
