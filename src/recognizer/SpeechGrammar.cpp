#include "SpeechGrammar.h"

#include "PhraseKey.h"

SpeechGrammar::SpeechGrammar(const QStringList &phrases, const QStringList &ownPhrases)
{
    for (const QString &phrase : ownPhrases)
        add(phrase);
    for (const QString &phrase : phrases) {
        if (const QString own = m_phrases.value(PhraseKey::key(phrase)); ownPhrases.contains(own))
            m_warnings.append(QStringLiteral("The phrase \"%1\" sounds like the program's own "
                                             "\"%2\" and is left out: saying it does what "
                                             "\"%2\" does.")
                                  .arg(phrase, own));
        else if (!add(phrase))
            m_warnings.append(
                QStringLiteral("The phrase \"%1\" cannot be pronounced and is left out.")
                    .arg(phrase));
    }
}

bool SpeechGrammar::add(const QString &phrase)
{
    const QStringList words = PhraseKey::words(phrase);
    if (words.isEmpty())
        return false;
    const QString key = words.join(QLatin1Char(' '));
    if (m_phrases.contains(key))
        return true;
    m_phrases.insert(key, phrase);
    m_keys.append(words);
    for (qsizetype n = 1; n < words.size(); ++n)
        m_prefixes.insert(words.first(n).join(QLatin1Char(' ')));
    return true;
}
