#pragma once

#include <QIcon>
#include <QString>

// The program's read-only files (the help book, icons, sample vocabularies): beside the executable
// in a build or a portable copy, else under the install prefix's share/jev.
class ProgramFiles
{
public:
    // The folder holding name ("help", "icons"), or an empty string when there is none.
    static QString folder(const QString &name);
    // An image of the icons folder ("jev.svg", "web.svg"); a null icon when it is missing or its
    // format cannot be read (SVG needs Qt's SVG support, Debian's libqt6svg6).
    static QIcon icon(const QString &fileName);
    // The program's own icon, for the title bars and the About box.
    static QIcon programIcon() { return icon(QStringLiteral("jev.svg")); }
};
