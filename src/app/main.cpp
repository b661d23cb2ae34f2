#include "CommandLine.h"
#include "SpeechProgram.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QStringList arguments(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

void nameTheProgram()
{
    QCoreApplication::setOrganizationName(QStringLiteral("DuveVuvuraru"));
    QCoreApplication::setApplicationName(QStringLiteral("jev"));
    QCoreApplication::setApplicationVersion(QStringLiteral(JEV_VERSION));
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList args = arguments(argc, argv);
    nameTheProgram();
    if (!SpeechProgram::isCommandLineTask(args)) {
        SpeechProgram::Options options;
        QString error;
        if (!SpeechProgram::parse(args, &options, &error)) {
            QTextStream(stderr) << "jev: " << error << "\n\n" << CommandLine::usage();
            return CommandLine::WrongUsage;
        }
        return SpeechProgram::run(argc, argv, options);
    }

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(out, err);
    const int code = commandLine.run(args);
    out.flush();
    err.flush();
    return code;
}
