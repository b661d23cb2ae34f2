#include "PhraseKey.h"

namespace {

const char *const kOnes[] = {"zero",    "one",     "two",       "three",    "four",
                             "five",    "six",     "seven",     "eight",    "nine",
                             "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                             "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
const char *const kTens[] = {"",      "",      "twenty",  "thirty", "forty",
                             "fifty", "sixty", "seventy", "eighty", "ninety"};

// Accents are dropped so that "Café" finds "cafe" in the dictionary.
QString foldedLower(const QString &phrase)
{
    QString folded;
    for (const QChar c : phrase.normalized(QString::NormalizationForm_KD)) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c.toLower());
    }
    return folded;
}

bool isWordLetter(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QStringList PhraseKey::numberWords(const QString &digits)
{
    QStringList words;
    const int value = digits.toInt();
    if (digits.size() <= 2 && !(digits.size() == 2 && digits.front() == QLatin1Char('0'))) {
        if (value < 20) {
            words.append(QLatin1String(kOnes[value]));
        } else {
            words.append(QLatin1String(kTens[value / 10]));
            if (value % 10)
                words.append(QLatin1String(kOnes[value % 10]));
        }
        return words;
    }
    for (const QChar c : digits)
        words.append(QLatin1String(kOnes[c.digitValue()]));
    return words;
}

QStringList PhraseKey::words(const QString &phrase)
{
    const QString text = foldedLower(phrase);
    QStringList words;
    QString current;
    bool currentDigits = false;
    auto flush = [&] {
        // An apostrophe belongs to a word only inside it ("don't"), not around it.
        while (current.startsWith(QLatin1Char('\'')))
            current.remove(0, 1);
        while (current.endsWith(QLatin1Char('\'')))
            current.chop(1);
        if (!current.isEmpty())
            words += currentDigits ? numberWords(current) : QStringList{current};
        current.clear();
    };
    for (const QChar c : text) {
        if (isDigit(c)) {
            if (!currentDigits)
                flush();
            currentDigits = true;
            current.append(c);
        } else if (isWordLetter(c) || (c == QLatin1Char('\'') && !currentDigits)) {
            if (currentDigits)
                flush();
            currentDigits = false;
            current.append(c);
        } else {
            flush();
        }
    }
    flush();
    return words;
}
