#pragma once

#include <QString>
#include <QStringList>

// The grammar text that the program writes to temp.txt: a "[Grammar]" header section and the
// alternatives of the rule "<start>", one "<start>=phrase" line each, in Windows-1252 with CR LF.
class GrammarFile
{
public:
    // The phrases in file order, exactly as the file spells them (blanks and case kept).
    QStringList phrases;

    // False, with a message the caller can show, when the file is missing, unreadable or not a
    // grammar.
    static bool read(const QString &path, GrammarFile *grammar, QString *error);
    static bool parse(const QByteArray &bytes, GrammarFile *grammar, QString *error);
};
