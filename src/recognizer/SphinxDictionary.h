#pragma once

#include <QByteArrayList>
#include <QStringList>

struct ps_decoder_s;

// The decoder's pronunciation dictionary. Words of a grammar that it lacks are added with the
// pronunciations a speaker is likely to use; a word's second pronunciation is named "word(2)".
class SphinxDictionary
{
public:
    explicit SphinxDictionary(ps_decoder_s *ps) : m_ps(ps) {}

    void addMissing(const QStringList &words) const;
    // The names of a word's pronunciations: "live", "live(2)", ...; the first even when the
    // dictionary lacks the word.
    QByteArrayList pronunciations(const QString &word) const;
    // The phones of a pronunciation; empty when the dictionary lacks it.
    QString phones(const QByteArray &name) const;
    // The phrases' words and their pronunciations as lines of a dictionary file
    // ("live(2) L IH V"), each word once.
    QStringList lines(const QList<QStringList> &phrases) const;

private:
    void add(const QString &word) const;
    QStringList alternativePhones(const QString &word, const QString &phones) const;

    ps_decoder_s *m_ps;
};
