// The record-file reader on arbitrary bytes, as the application list (270-byte slotCount) and as a
// vocabulary (128-byte slotCount): reading the whole file at once and record by record must agree,
// never crash, and a damaged record must be reported as such, not read as something else.

#include "FuzzCheck.h"
#include "data/AppError.h"
#include "data/CFile.h"
#include "data/Cp1252Codec.h"
#include "data/DataFiles.h"
#include "data/MemoryListBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <optional>

namespace {

const QString kVocab = QStringLiteral("Fuzzed");

// One data directory for the whole run; in memory when the system offers it, for speed.
const QString &dataDir()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/jev-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/jev-fuzz-XXXXXX"));
    static const QString path = [] {
        QDir().mkpath(DataFiles::vocabFolder(dir.path()));
        return dir.path();
    }();
    return path;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

// Every record, or nothing when the whole-file read refused the file.
std::optional<QStringList> readWhole(CFile &file, bool vocab, const QString &name)
{
    try {
        return file.readAll(vocab, name);
    } catch (const AppError &e) {
        FUZZ_CHECK(e.number() == AppErrorNumber::FileCorrupt);
        return std::nullopt;
    }
}

// Record by record, as the listings read: a damaged record is reported and passed over.
QStringList readEach(CFile &file, bool vocab, const QString &name, int *damaged)
{
    QStringList records;
    file.InitRecord();
    file.FileOpen(vocab, name);
    DataChannelCloser closer(file);
    while (!file.atEnd()) {
        try {
            records.append(file.FileRead(file.RecordNumber()));
        } catch (const AppError &e) {
            FUZZ_CHECK(e.number() == AppErrorNumber::FileCorrupt);
            ++*damaged;
        }
        file.IncrementRecord();
    }
    return records;
}

void checkReader(const QByteArray &bytes, bool vocab)
{
    const QString name = vocab ? kVocab : DataFiles::appListName();
    const int slot = vocab ? CFile::VocabSlotLength : CFile::AppSlotLength;
    CFile file(dataDir());
    writeFile(file.dataFilePath(vocab, name), bytes);

    int damaged = 0;
    const QStringList each = readEach(file, vocab, name, &damaged);
    const std::optional<QStringList> whole = readWhole(file, vocab, name);
    const qsizetype slotCount = (bytes.size() + slot - 1) / slot;
    FUZZ_CHECK(each.size() + damaged == slotCount);
    // The whole file reads when no record is damaged, and then as the records one by one.
    FUZZ_CHECK(whole.has_value() == (damaged == 0));
    if (whole)
        FUZZ_CHECK(*whole == each);
    for (qsizetype i = 0; i < each.size() && damaged == 0; ++i) {
        // A record holds what its slot says, byte for byte.
        const QByteArray stored = Cp1252Codec::encode(each.at(i));
        FUZZ_CHECK(stored.size() <= slot - 2);
        FUZZ_CHECK(qFromLittleEndian<quint16>(bytes.constData() + i * slot) == stored.size());
        FUZZ_CHECK(bytes.mid(i * slot + 2, stored.size()) == stored);
    }
}

// The grammar writer reads both files too, passing over what it cannot read.
void checkGrammarWriter()
{
    CFile file(dataDir());
    QString error;
    FUZZ_CHECK(file.TempLoad(MemoryListBox(QStringList{kVocab}), &error));
    FUZZ_CHECK(QFile::exists(file.grammarPath()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    checkReader(bytes, false);
    checkReader(bytes, true);
    checkGrammarWriter();
    return 0;
}
