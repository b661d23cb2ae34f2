#pragma once

#include <QString>

class Prompter;
class QLabel;

// The welcome of a first start (no application list yet): the sample vocabularies are offered
// and copied only when the user agrees, and the status bar says what to do next.
class SampleOffer
{
public:
    static void offer(const QString &programDir, Prompter &prompter, QLabel &nextStep);
};
