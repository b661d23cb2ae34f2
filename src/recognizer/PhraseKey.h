#pragma once

#include <QString>
#include <QStringList>

// A grammar phrase as the words that the pronunciation dictionary knows: lower case, split at
// punctuation and at letter/digit boundaries, numbers as words ("F5" -> "f five"). Phrases that
// differ only in case or punctuation share a key.
class PhraseKey
{
public:
    static QStringList words(const QString &phrase);
    static QString key(const QString &phrase) { return words(phrase).join(QLatin1Char(' ')); }
    // The words for a run of digits: a number below 100 as it is said ("twelve", "twenty one"),
    // longer runs and runs with a leading zero digit by digit.
    static QStringList numberWords(const QString &digits);
};
