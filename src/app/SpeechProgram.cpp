#include "SpeechProgram.h"

#include "DesktopServices.h"
#include "config/QtPrompter.h"
#include "data/DataDirectory.h"
#include "recognizer/RecognizerSettings.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/PulseAudioSource.h"
#include "recognizer/audio/WavFileSource.h"
#include "speech/frmJev.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

#include "config/ProgramFiles.h"

bool SpeechProgram::isCommandLineTask(const QStringList &args)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--data-dir")) {
            ++i; // its value
            continue;
        }
        if (arg == QLatin1String("--audio-file"))
            return false;
        if (!arg.startsWith(QLatin1String("--data-dir=")))
            return true; // a command word, --help or a wrong option: the command line answers
    }
    return false;
}

bool SpeechProgram::parse(const QStringList &args, Options *options, QString *error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--data-dir") && i + 1 < args.size()) {
            options->dataDir = args.at(++i);
        } else if (arg == QLatin1String("--data-dir")) {
            *error = QStringLiteral("--data-dir needs a directory");
            return false;
        } else if (arg.startsWith(QLatin1String("--data-dir="))) {
            options->dataDir = arg.section(QLatin1Char('='), 1);
        } else if (arg == QLatin1String("--audio-file")) {
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--")))
                options->audioFiles.append(args.at(++i));
            if (options->audioFiles.isEmpty()) {
                *error = QStringLiteral("--audio-file needs at least one WAV file");
                return false;
            }
        } else {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return false;
        }
    }
    return true;
}

int SpeechProgram::run(int argc, char *argv[], const Options &options)
{
    QTextStream err(stderr);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        err << "JEV! Voice Command needs a desktop session: neither DISPLAY nor WAYLAND_DISPLAY "
               "is set.\nThe command-line tasks work without one: jev --help"
            << Qt::endl;
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(
        QIcon(ProgramFiles::folder(QStringLiteral("icons")) + QStringLiteral("/jev.svg")));

    const QString dir = DataDirectory::choose(DataDirectory::fromEnvironment(options.dataDir));
    QString problem;
    DataDirectory::prepare(dir, &problem); // the window tells what is missing

    QtPrompter prompter;
    DesktopServices desktop(prompter);
    std::unique_ptr<AudioSource> source;
    if (options.audioFiles.isEmpty())
        source = std::make_unique<PulseAudioSource>();
    else
        source = std::make_unique<WavFileSource>(options.audioFiles);
    SphinxEngine::Options engineOptions;
    engineOptions.sensitivity = RecognizerSettings::sensitivity();
    SphinxRecognizer recognizer(std::move(source), engineOptions);

    // What was heard goes to the standard error too, for a look at what the program understood.
    QObject::connect(&recognizer, &Recognizer::PhraseRecognized, &recognizer,
                     [&err](const QString &phrase) { err << "Heard: " << phrase << Qt::endl; });
    frmJev window(dir, desktop.engine(), recognizer);
    prompter.setParent(&window);
    window.load();
    if (recognizer.isActive())
        err << "Listening." << Qt::endl;
    window.show();
    QTimer::singleShot(0, &window, &frmJev::tellStartupProblems);
    return application.exec();
}
