#include "GrammarFile.h"

#include "data/Cp1252Codec.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Real grammars are a few hundred kilobytes at most; anything far larger is not one of ours.
constexpr qint64 kMaxGrammarBytes = 64 * 1024 * 1024;

QString notAGrammar(const QString &why)
{
    return QStringLiteral("This is not a recognition grammar: %1.").arg(why);
}

// A line of the [Grammar] header is a setting; empty when it is fine, else why not.
QString headerLineProblem(const QString &trimmed)
{
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return QStringLiteral("the header line \"%1\" is not a setting").arg(trimmed);
    const QString key = trimmed.left(equals).trimmed().toLower();
    const QString value = trimmed.mid(equals + 1).trimmed().toLower();
    if (key == QLatin1String("type") && value != QLatin1String("cfg"))
        return QStringLiteral("its type is %1, not cfg").arg(value);
    return {};
}

// A line of the <start> rule, "<start>=phrase"; false when it is none.
bool startAlternative(const QString &text, QString *phrase)
{
    // The phrase is everything after the first "=", blanks included: the program compares it
    // with its vocabulary exactly as written.
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0 ||
        text.left(equals).trimmed().compare(QLatin1String("<start>"), Qt::CaseInsensitive) != 0)
        return false;
    *phrase = text.mid(equals + 1);
    return true;
}

} // namespace

bool GrammarFile::read(const QString &path, GrammarFile *grammar, QString *error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("The grammar file %1 does not exist.").arg(path);
        return false;
    }
    if (file.size() > kMaxGrammarBytes || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("The grammar file %1 cannot be read: %2")
                         .arg(path, file.isOpen() ? QStringLiteral("it is too large")
                                                  : file.errorString());
        return false;
    }
    if (!parse(file.readAll(), grammar, error)) {
        if (error)
            *error = path + QStringLiteral(": ") + *error;
        return false;
    }
    return true;
}

bool GrammarFile::parse(const QByteArray &bytes, GrammarFile *grammar, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = notAGrammar(why);
        return false;
    };
    if (bytes.contains('\0'))
        return fail(QStringLiteral("it holds binary data"));

    // Lines end with CR LF; a lone LF is accepted too, since editors on this system write those.
    QList<QByteArray> lines = bytes.split('\n');
    bool seenGrammar = false;
    bool seenStart = false;
    QString section;
    QStringList phrases;
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = Cp1252Codec::decode(line);
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            section = trimmed.mid(1, trimmed.size() - 2).trimmed().toLower();
            if (!seenGrammar && section != QLatin1String("grammar"))
                return fail(QStringLiteral("it does not begin with [Grammar]"));
            seenGrammar = true;
            seenStart = seenStart || section == QLatin1String("<start>");
            continue;
        }
        if (!seenGrammar)
            return fail(QStringLiteral("it does not begin with [Grammar]"));
        if (section == QLatin1String("grammar")) {
            if (const QString problem = headerLineProblem(trimmed); !problem.isEmpty())
                return fail(problem);
            continue;
        }
        QString phrase;
        if (section == QLatin1String("<start>")) {
            if (!startAlternative(text, &phrase))
                return fail(
                    QStringLiteral("the line \"%1\" is not a <start> alternative").arg(trimmed));
            phrases.append(phrase);
        }
        // Other rules are not written by this program and are not referenced from <start>.
    }
    if (!seenGrammar)
        return fail(QStringLiteral("it is empty"));
    if (!seenStart)
        return fail(QStringLiteral("it has no [<start>] rule"));
    grammar->phrases = phrases;
    return true;
}
