#include "CommandLine.h"
#include "ProgramOptions.h"
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
    nameTheProgram();
    QString error;
    const std::optional<ProgramOptions> options =
        ProgramOptions::parse(arguments(argc, argv), &error);
    if (!options) {
        QTextStream(stderr) << "jev: " << error << "\n\n" << ProgramOptions::usage();
        return CommandLine::WrongUsage;
    }
    if (options->version) {
        QTextStream(stdout) << "jev (JEV! Voice Command) " << JEV_VERSION << "\n";
        return CommandLine::Done;
    }
    if (options->help) {
        QTextStream(stdout) << ProgramOptions::usage();
        return CommandLine::Done;
    }
    if (options->task.isEmpty())
        return SpeechProgram::run(argc, argv, *options);

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(out, err);
    const int code = commandLine.run(*options);
    out.flush();
    err.flush();
    return code;
}
