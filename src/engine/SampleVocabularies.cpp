#include "SampleVocabularies.h"

#include "Vocabularies.h"
#include "data/DataDirectory.h"
#include "data/DataFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

SampleVocabularies::SampleVocabularies(const QString &programDir, const QString &samplesFolder)
    : m_dir(programDir), m_samples(samplesFolder)
{}

bool SampleVocabularies::isFirstRun(const QString &programDir)
{
    // The speech window's start leaves an empty application list behind: that is none yet.
    return QFileInfo(DataFiles::appListPath(programDir)).size() == 0 &&
           Vocabularies(programDir).names().isEmpty();
}

QStringList SampleVocabularies::names() const
{
    if (m_samples.isEmpty())
        return {};
    QStringList names;
    const QFileInfoList files =
        QDir(m_samples).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files)
        names.append(file.completeBaseName());
    return names;
}

namespace {

// A whole copy or none: the bytes go to a file beside the target that is renamed over it.
QString copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return from + QStringLiteral(": ") + source.errorString();
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(source.readAll()) != source.size() ||
        !target.commit())
        return to + QStringLiteral(": ") + target.errorString();
    return {};
}

} // namespace

EditResult SampleVocabularies::copyInto(QStringList *copied) const
{
    const QStringList samples = names();
    if (samples.isEmpty())
        return EditResult::refused(
            QStringLiteral("The sample vocabularies are missing from this installation."));
    const QStringList existing = Vocabularies(m_dir).names();
    QStringList wanted;
    for (const QString &name : samples) {
        if (!existing.contains(name, Qt::CaseInsensitive))
            wanted.append(name);
    }
    if (existing.size() + wanted.size() > Vocabularies::MaxCount)
        return EditResult::refused(
            QStringLiteral("You Have Too Many Vocabularies Already!  The Maximum is 30."),
            QStringLiteral("Vocabulary Overload"), Prompter::Icon::Information);
    if (QString problem; !DataDirectory::prepare(m_dir, &problem))
        return EditResult::failed(problem);
    for (const QString &name : std::as_const(wanted)) {
        const QString error = copyFile(m_samples + QLatin1Char('/') + name + QStringLiteral(".txt"),
                                       DataFiles::vocabPath(m_dir, name));
        if (!error.isEmpty())
            return EditResult::failed(QStringLiteral("A sample vocabulary could not be copied: ") +
                                      error);
        if (copied)
            copied->append(name);
    }
    return EditResult::done();
}
