#pragma once

#include <QString>
#include <functional>

// Pronunciations, in the phone set of the acoustic model, for words that the dictionary lacks.
class Pronouncer
{
public:
    // The phones of word (lower case, letters and apostrophes): letter by letter when it has no
    // vowel or at most three letters ("vlc", "gtk"), else from flite's letter-to-sound rules.
    // Empty when nothing in it can be pronounced.
    static QString phones(const QString &word);
    static QString spelledPhones(const QString &word);
    static QString letterToSoundPhones(const QString &word);
    static bool isSpelledOut(const QString &word);
    // Whether word's letters could begin and end an English word, by flite's own rule: a
    // speaker, like flite, often spells out the others ("xterm" as "x t e r m").
    static bool looksPronounceable(const QString &word);
    // word as a run of dictionary words and single letters ("xterm" = "x" "term", "libreoffice" =
    // "libre" "office"), with the fewest pieces; empty when there is no such split. lookup gives
    // a dictionary word's phones, empty when the dictionary lacks it.
    static QString compoundPhones(const QString &word,
                                  const std::function<QString(const QString &)> &lookup);
    // One flite phone (stress digit allowed) as model phones; empty for a pause.
    static QString modelPhones(const QString &flitePhone);
};
