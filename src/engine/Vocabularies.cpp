#include "Vocabularies.h"

#include "data/AppError.h"
#include "data/CFile.h"
#include "data/CVocab.h"
#include "data/DataFiles.h"
#include "data/MemoryListBox.h"

Vocabularies::Vocabularies(const QString &programDir) : m_dir(programDir) {}

QStringList Vocabularies::names() const
{
    return CVocab::vocabNames(m_dir);
}

bool Vocabularies::exists(const QString &name) const
{
    // File names are case-sensitive here, so the listed name must match exactly.
    return names().contains(name);
}

EditResult Vocabularies::unknown(const QString &name) const
{
    return EditResult::refused(QStringLiteral("There is no vocabulary named \"%1\".").arg(name));
}

void Vocabularies::fill(const QString &name, MemoryListBox &list) const
{
    CVocab(m_dir, {nullptr, &list, nullptr}).FillDictionaryListBox(true, name);
}

std::optional<EditResult> Vocabularies::readWhole(const QString &name, QStringList &words) const
{
    if (!exists(name))
        return unknown(name);
    MemoryListBox list;
    try {
        fill(name, list);
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    words = list.items();
    return std::nullopt;
}

EditResult Vocabularies::noWordAt(int index)
{
    return EditResult::refused(QStringLiteral("There is no word at index %1.").arg(index));
}

EditResult Vocabularies::create(const QString &name)
{
    if (name.isEmpty())
        return EditResult::refused(nameProblem(name));
    const QStringList listed = names();
    if (listed.contains(name, Qt::CaseInsensitive))
        return EditResult::refused(QStringLiteral("You Already Have A Vocabulary With That Name!"));
    if (listed.size() >= MaxCount)
        return EditResult::refused(
            QStringLiteral("You Have Too Many Vocabularies Already!  The Maximum is 30."),
            QStringLiteral("Vocabulary Overload"), Prompter::Icon::Information);
    if (const QString problem = nameProblem(name); !problem.isEmpty())
        return EditResult::refused(problem);
    try {
        CVocab(m_dir).CreateNewVocab(name);
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    return EditResult::done();
}

EditResult Vocabularies::remove(const QString &name)
{
    if (!exists(name))
        return EditResult::refused(QStringLiteral("You Must Select A Vocabulary First!"),
                                   QStringLiteral("Vocabulary Deletion"),
                                   Prompter::Icon::Information);
    try {
        CVocab(m_dir).DeleteVocabFile(name);
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    return EditResult::done();
}

Vocabularies::Words Vocabularies::words(const QString &name)
{
    if (!exists(name))
        return {{}, unknown(name)};
    MemoryListBox list;
    try {
        fill(name, list);
    } catch (const AppError &e) {
        // No message: the words before the damaged record are still worth showing.
        return {list.items(), EditResult::failedQuietly(e, QStringLiteral("%1, record %2")
                                                               .arg(DataFiles::vocabFileName(name))
                                                               .arg(list.count() + 1))};
    }
    return {list.items(), EditResult::done()};
}

EditResult Vocabularies::addWord(const QString &name, const QString &word)
{
    if (!exists(name))
        return unknown(name);
    try {
        CVocab vocab(m_dir);
        vocab.DictionaryRecordCount(name);
        vocab.AddDictionaryWord(true, name, word, QStringLiteral("SaveChanges"));
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    return EditResult::done();
}

EditResult Vocabularies::setWord(const QString &name, int index, const QString &word)
{
    QStringList words;
    if (auto failure = readWhole(name, words))
        return *failure;
    if (index < 0 || index >= words.size())
        return noWordAt(index);
    return replaceWord(name, words.at(index), word);
}

EditResult Vocabularies::replaceWord(const QString &name, const QString &shown, const QString &word)
{
    if (!exists(name))
        return unknown(name);
    try {
        // The search leaves the cursor on the first equal word, or just past the last one.
        CVocab vocab(m_dir);
        vocab.DictionarySelect(name, shown);
        vocab.AddDictionaryWord(true, name, word, QStringLiteral("SaveChanges"));
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    return EditResult::done();
}

EditResult Vocabularies::deleteWord(const QString &name, int index)
{
    QStringList words;
    if (auto failure = readWhole(name, words))
        return *failure;
    if (index < 0 || index >= words.size())
        return noWordAt(index);
    return deleteShownWord(name, index, words.at(index));
}

EditResult Vocabularies::deleteShownWord(const QString &name, int index, const QString &shown)
{
    QStringList words;
    if (auto failure = readWhole(name, words))
        return *failure;
    const qsizetype at = words.value(index) == shown ? index : words.indexOf(shown);
    if (at < 0)
        return EditResult::done(); // nothing of it is left to delete
    words.removeAt(at);
    EditResult result = rewrite(name, words);
    if (result.error && result.error->number() == AppErrorNumber::StoreRefused) {
        result.text = QStringLiteral("Please Select A Dictionary Word To Delete!");
        result.detail = result.error->message();
    }
    return result;
}

Vocabularies::Copied Vocabularies::copyWords(const QString &target, const QStringList &words)
{
    // Copying behind a damaged record would hide or lose the words after it.
    QStringList all;
    if (auto failure = readWhole(target, all))
        return {*failure};
    int added = 0;
    for (const QString &word : words) {
        if (all.contains(word, Qt::CaseSensitive))
            continue;
        all.append(word);
        ++added;
    }
    if (added == 0)
        return {EditResult::done()};
    const EditResult result = rewrite(target, all);
    return {result, result.isDone() ? added : 0};
}

EditResult Vocabularies::rewrite(const QString &name, const QStringList &words)
{
    try {
        CFile(m_dir).replaceAll(true, name, words);
    } catch (const AppError &e) {
        return EditResult::failed(e);
    }
    return EditResult::done();
}

EditResult Vocabularies::writeGrammar() const
{
    QString error;
    if (!CFile(m_dir).TempLoad(MemoryListBox(names()), &error))
        return EditResult::failed(QStringLiteral("The grammar could not be written: ") + error);
    return EditResult::done();
}

QString Vocabularies::nameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("A vocabulary needs a name.");
    // A name with "." would be listed under another name, and one with "/" would leave vocab/.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('.')) ||
        name.contains(QLatin1Char('$')) || name.contains(QChar(u'\0')))
        return QStringLiteral("A vocabulary name cannot contain \"/\", \".\" or \"$\".");
    if (name.toUtf8().size() > 200)
        return QStringLiteral("A vocabulary name can be at most 200 bytes long.");
    return {};
}
