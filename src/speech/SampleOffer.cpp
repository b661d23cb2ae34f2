#include "SampleOffer.h"

#include "config/ProgramFiles.h"
#include "engine/SampleVocabularies.h"
#include "platform/Prompter.h"

#include <QLabel>

void SampleOffer::offer(const QString &programDir, Prompter &prompter, QLabel &nextStep)
{
    const SampleVocabularies samples(programDir, ProgramFiles::folder(QStringLiteral("samples")));
    const QStringList names = samples.names();
    const QString question =
        QStringLiteral("Welcome to JEV! Voice Command. You have no applications and no "
                       "vocabularies yet.\n\nCopy the sample vocabularies (%1) into your data "
                       "folder? They hold common shortcuts of such programs; you can change or "
                       "delete them later.")
            .arg(names.join(QStringLiteral(", ")));
    if (!names.isEmpty() && prompter.askOkCancel(question, QStringLiteral("Sample Vocabularies"),
                                                 Prompter::Icon::Question))
        samples.copyInto().show(prompter);
    nextStep.setText(
        QStringLiteral("Next: click Configure and drag a running program onto the list."));
    nextStep.setToolTip(
        QStringLiteral("Next: click Configure, drag a running program onto the list on the "
                       "left, give it a spoken name and a vocabulary, and click Save Command."));
}
