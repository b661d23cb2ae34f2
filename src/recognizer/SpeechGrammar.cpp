#include "SpeechGrammar.h"

#include "PhraseKey.h"

SpeechGrammar::SpeechGrammar(const QStringList &phrases)
{
    for (const QString &phrase : phrases) {
        const QStringList words = PhraseKey::words(phrase);
        if (words.isEmpty()) {
            m_warnings.append(
                QStringLiteral("The phrase \"%1\" cannot be pronounced and is left out.")
                    .arg(phrase));
            continue;
        }
        const QString key = words.join(QLatin1Char(' '));
        if (m_phrases.contains(key))
            continue;
        m_phrases.insert(key, phrase);
        m_keys.append(words);
        for (qsizetype n = 1; n < words.size(); ++n)
            m_prefixes.insert(words.first(n).join(QLatin1Char(' ')));
    }
}
