#include "Pronouncer.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

extern "C" {
#include <flite/flite.h>
cst_lexicon *cmu_lex_init(void);
int us_aswd(const char *word);
}

namespace {

const char *const kLetterNames[26] = {"EY",
                                      "B IY",
                                      "S IY",
                                      "D IY",
                                      "IY",
                                      "EH F",
                                      "JH IY",
                                      "EY CH",
                                      "AY",
                                      "JH EY",
                                      "K EY",
                                      "EH L",
                                      "EH M",
                                      "EH N",
                                      "OW",
                                      "P IY",
                                      "K Y UW",
                                      "AA R",
                                      "EH S",
                                      "T IY",
                                      "Y UW",
                                      "V IY",
                                      "D AH B AH L Y UW",
                                      "EH K S",
                                      "W AY",
                                      "Z IY"};

const QStringList &modelPhoneSet()
{
    static const QStringList phones =
        QStringLiteral("AA AE AH AO AW AY B CH D DH EH ER EY F G HH IH IY JH "
                       "K L M N NG OW OY P R S SH T TH UH UW V W Y Z ZH")
            .split(QLatin1Char(' '));
    return phones;
}

// flite's lexicon is one shared object without locking of its own.
QMutex &fliteMutex()
{
    static QMutex mutex;
    return mutex;
}

cst_lexicon *lexicon()
{
    static cst_lexicon *lex = cmu_lex_init();
    return lex;
}

} // namespace

bool Pronouncer::isSpelledOut(const QString &word)
{
    int letters = 0;
    bool vowel = false;
    for (const QChar c : word) {
        if (c.isLetter()) {
            ++letters;
            vowel = vowel || QStringLiteral("aeiouy").contains(c);
        }
    }
    return !vowel || letters <= 3;
}

bool Pronouncer::looksPronounceable(const QString &word)
{
    const QByteArray latin = word.toLower().toLatin1();
    return us_aswd(latin.constData()) != 0;
}

QString Pronouncer::phones(const QString &word)
{
    return isSpelledOut(word) ? spelledPhones(word) : letterToSoundPhones(word);
}

QString Pronouncer::spelledPhones(const QString &word)
{
    QStringList phones;
    for (const QChar c : word) {
        const char16_t u = c.toLower().unicode();
        if (u >= u'a' && u <= u'z')
            phones.append(QLatin1String(kLetterNames[u - u'a']));
    }
    return phones.join(QLatin1Char(' '));
}

QString Pronouncer::compoundPhones(const QString &word,
                                   const std::function<QString(const QString &)> &lookup)
{
    // Shortest split by cost: a dictionary word of three letters or more costs 2, a letter
    // spelled out 3, so that words win over letters and fewer pieces win over more.
    constexpr int kWordCost = 2;
    constexpr int kLetterCost = 3;
    constexpr int kMinPieceLength = 3;
    const qsizetype n = word.size();
    QList<int> cost(n + 1, -1);
    QList<QString> phones(n + 1);
    cost[0] = 0;
    for (qsizetype end = 1; end <= n; ++end) {
        for (qsizetype start = 0; start < end; ++start) {
            if (cost[start] < 0 || (start == 0 && end == n))
                continue; // the whole word is what the dictionary lacks
            const qsizetype length = end - start;
            QString piece;
            int pieceCost = 0;
            if (length >= kMinPieceLength) {
                piece = lookup(word.mid(start, length));
                pieceCost = kWordCost;
            } else if (length == 1) {
                piece = spelledPhones(word.mid(start, 1));
                pieceCost = kLetterCost;
            }
            if (piece.isEmpty())
                continue;
            if (cost[end] < 0 || cost[start] + pieceCost < cost[end]) {
                cost[end] = cost[start] + pieceCost;
                phones[end] = phones[start].isEmpty() ? piece : phones[start] + u' ' + piece;
            }
        }
    }
    // All letters is no better than the spelled form, which the caller already has.
    return cost[n] < 0 || cost[n] == kLetterCost * n ? QString() : phones[n];
}

QString Pronouncer::modelPhones(const QString &flitePhone)
{
    QString phone = flitePhone.toUpper();
    while (!phone.isEmpty() && phone.back().isDigit())
        phone.chop(1);
    static const QHash<QString, QString> mapped = {
        {QStringLiteral("AX"), QStringLiteral("AH")},
        {QStringLiteral("AXR"), QStringLiteral("ER")},
        {QStringLiteral("HV"), QStringLiteral("HH")},
        {QStringLiteral("DX"), QStringLiteral("T")},
        {QStringLiteral("NX"), QStringLiteral("N")},
        {QStringLiteral("EL"), QStringLiteral("AH L")},
        {QStringLiteral("EM"), QStringLiteral("AH M")},
        {QStringLiteral("EN"), QStringLiteral("AH N")},
    };
    phone = mapped.value(phone, phone);
    for (const QString &p : phone.split(QLatin1Char(' '))) {
        if (!modelPhoneSet().contains(p))
            return {};
    }
    return phone;
}

QString Pronouncer::letterToSoundPhones(const QString &word)
{
    const QByteArray latin = word.toLower().toLatin1();
    QStringList phones;
    QMutexLocker lock(&fliteMutex());
    cst_val *list = lex_lookup(lexicon(), latin.constData(), nullptr, nullptr);
    for (const cst_val *v = list; v; v = val_cdr(v)) {
        const QString phone = modelPhones(QString::fromLatin1(val_string(val_car(v))));
        if (!phone.isEmpty())
            phones.append(phone);
    }
    delete_val(list);
    return phones.join(QLatin1Char(' '));
}
