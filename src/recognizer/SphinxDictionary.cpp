#include "SphinxDictionary.h"

#include "Pronouncer.h"

#include <QSet>

#include <pocketsphinx.h>

namespace {

QByteArray alternativeName(const QByteArray &word, qsizetype number)
{
    return word + '(' + QByteArray::number(number) + ')';
}

} // namespace

void SphinxDictionary::addMissing(const QStringList &words) const
{
    for (const QString &word : words) {
        if (phones(word.toUtf8()).isEmpty())
            add(word);
    }
}

QByteArrayList SphinxDictionary::pronunciations(const QString &word) const
{
    const QByteArray utf8 = word.toUtf8();
    QByteArrayList names{utf8};
    for (int n = 2;; ++n) {
        const QByteArray alternative = alternativeName(utf8, n);
        if (phones(alternative).isEmpty())
            return names;
        names.append(alternative);
    }
}

QString SphinxDictionary::phones(const QByteArray &name) const
{
    char *known = ps_lookup_word(m_ps, name.constData());
    const QString phones = QString::fromLatin1(known);
    ckd_free(known);
    return phones;
}

void SphinxDictionary::add(const QString &word) const
{
    const QByteArray utf8 = word.toUtf8();
    QString phones = Pronouncer::phones(word);
    if (phones.isEmpty())
        phones = Pronouncer::spelledPhones(word);
    ps_add_word(m_ps, utf8.constData(), phones.toLatin1().constData(), FALSE);
    const QStringList alternatives = alternativePhones(word, phones);
    for (qsizetype i = 0; i < alternatives.size(); ++i) {
        ps_add_word(m_ps, alternativeName(utf8, i + 2).constData(),
                    alternatives[i].toLatin1().constData(), FALSE);
    }
}

QStringList SphinxDictionary::alternativePhones(const QString &word, const QString &phones) const
{
    // Names are often made of words and letters ("xterm", "libreoffice"); said that way, they
    // need a second pronunciation beside the letter-to-sound one.
    const QString compound = Pronouncer::compoundPhones(
        word, [this](const QString &piece) { return this->phones(piece.toUtf8()); });
    QStringList alternatives;
    if (!compound.isEmpty() && compound != phones)
        alternatives.append(compound);
    // A name that reads like no English word is as often spelled out as read.
    const QString spelled = Pronouncer::spelledPhones(word);
    if (!Pronouncer::looksPronounceable(word) && !alternatives.contains(spelled) &&
        spelled != phones)
        alternatives.append(spelled);
    return alternatives;
}

QStringList SphinxDictionary::lines(const QList<QStringList> &phrases) const
{
    QStringList lines;
    QSet<QString> done;
    for (const QStringList &phrase : phrases) {
        for (const QString &word : phrase) {
            if (done.contains(word))
                continue;
            done.insert(word);
            for (const QByteArray &name : pronunciations(word))
                lines.append(QString::fromUtf8(name) + QLatin1Char(' ') + phones(name));
        }
    }
    return lines;
}
