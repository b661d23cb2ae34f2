// The split of application records into their fields, and the choice of the record that a delete
// leaves out, on arbitrary text. The input holds several records, one a line.

#include "FuzzCheck.h"
#include "data/Cp1252Codec.h"
#include "data/VAppCmdRecord.h"
#include "engine/ApplicationList.h"

namespace {

// The fields, joined again by the separators that were found, give back the record: nothing is
// lost or invented, and each field stops at the first separator that may end it.
void checkSplit(const QString &text)
{
    const VAppCmdRecord record = VAppCmdRecord::parse(text);
    FUZZ_CHECK(!record.AppName.contains(QLatin1Char('*')));
    if (!text.contains(QLatin1Char('*'))) {
        FUZZ_CHECK(record.AppName == text && !record.complete);
        FUZZ_CHECK(record.UserName.isEmpty() && record.VocabName.isEmpty());
        return;
    }
    QString joined = record.AppName + QLatin1Char('*');
    if (record.complete) {
        FUZZ_CHECK(!record.UserName.contains(QLatin1Char('~')));
        FUZZ_CHECK(!record.VocabName.contains(QLatin1Char('$')));
        joined += record.UserName + QLatin1Char('~') + record.VocabName;
        if (text.indexOf(QLatin1Char('$'), joined.size()) >= 0)
            joined += QLatin1Char('$') + record.PathName;
        FUZZ_CHECK(joined == text);
        FUZZ_CHECK(VAppCmdRecord::spokenName(text) == record.UserName);
    } else {
        FUZZ_CHECK(text.indexOf(QLatin1Char('~'), joined.size()) < 0);
        FUZZ_CHECK(record.UserName.isEmpty() && record.PathName.isEmpty());
    }
}

// Saving fields into a record keeps its name, and the fields read back as saved whenever they
// hold no separator that ends them early.
void checkSave(const QString &text, const QString &spoken, const QString &vocab,
               const QString &path)
{
    const VAppCmdRecord saved =
        VAppCmdRecord::parse(VAppCmdRecord::withFields(text, spoken, vocab, path));
    FUZZ_CHECK(saved.AppName == VAppCmdRecord::parse(text).AppName);
    FUZZ_CHECK(saved.complete);
    if (!spoken.contains(QLatin1Char('~')) && !vocab.contains(QLatin1Char('$')))
        FUZZ_CHECK(saved.UserName == spoken && saved.VocabName == vocab && saved.PathName == path);
}

// Deleting an entry leaves out one record: the hinted one when it has that name, else the first
// one of that name, else none; the others keep their order.
void checkDelete(const QStringList &records, const QString &name, int hint)
{
    auto named = [&](qsizetype i) { return VAppCmdRecord::parse(records.at(i)).AppName == name; };
    qsizetype dropped = hint >= 1 && hint <= records.size() && named(hint - 1) ? hint - 1 : -1;
    for (qsizetype i = 0; dropped < 0 && i < records.size(); ++i)
        dropped = named(i) ? i : -1;
    QStringList wanted = records;
    if (dropped >= 0)
        wanted.removeAt(dropped);
    FUZZ_CHECK(ApplicationList::recordsWithout(records, name, hint) == wanted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QStringList records = Cp1252Codec::decode(fuzzBytes(data + 2, size - 2)).split('\n');
    for (const QString &record : records)
        checkSplit(record);
    checkSave(records.first(), records.value(1), records.value(2), records.value(3));
    const QString name = VAppCmdRecord::parse(records.at(data[0] % records.size())).AppName;
    checkDelete(records, name, data[1] % (records.size() + 2));
    return 0;
}
