#include "CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("DuveVuvuraru"));
    QCoreApplication::setApplicationName(QStringLiteral("jev"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(out, err);
    const int code = commandLine.run(QCoreApplication::arguments().mid(1));
    out.flush();
    err.flush();
    return code;
}
