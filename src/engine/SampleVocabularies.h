#pragma once

#include "EditResult.h"

#include <QStringList>

// The sample vocabularies that come with the program: record files of dictionary words for an
// editor, a web browser and a terminal, one "<name>.txt" each in the samples folder. They are
// offered on a first run and copied into the data directory's vocab/ only when the user agrees;
// the copies are the user's own from then on.
class SampleVocabularies
{
public:
    SampleVocabularies(const QString &programDir, const QString &samplesFolder);

    // A first run: the data directory has no application (the list is missing or empty) and no
    // vocabulary yet.
    static bool isFirstRun(const QString &programDir);
    // The samples, sorted by name; none when the folder is missing.
    QStringList names() const;
    // Copies every sample the data directory does not hold yet (a vocabulary of the same name,
    // case ignored, is kept as it is). Refused when there are no samples or when they would make
    // more than 30 vocabularies; Failed, with the file, when one could not be copied (the ones
    // copied before it stay). copied receives the names copied.
    EditResult copyInto(QStringList *copied = nullptr) const;

private:
    QString m_dir;
    QString m_samples;
};
