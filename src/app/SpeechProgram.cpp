#include "SpeechProgram.h"

#include "DesktopServices.h"
#include "ProgramOptions.h"
#include "config/QtPrompter.h"
#include "platform/x11/X11GlobalShortcut.h"
#include "recognizer/RecognizerSettings.h"
#include "recognizer/SphinxRecognizer.h"
#include "recognizer/audio/PulseAudioSource.h"
#include "recognizer/audio/PulseAudioSources.h"
#include "recognizer/audio/WavFileSource.h"
#include "speech/frmJev.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

#include "config/ProgramFiles.h"

int SpeechProgram::run(int argc, char *argv[], const ProgramOptions &options)
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
    QApplication::setWindowIcon(ProgramFiles::programIcon());

    // The window prepares the data directory as it loads, and shows what went wrong.
    const QString dir = options.dataDirectory();

    QtPrompter prompter;
    DesktopServices desktop(prompter);
    std::unique_ptr<AudioSource> source;
    if (options.audioFiles.isEmpty())
        source = std::make_unique<PulseAudioSource>(&RecognizerSettings::microphone);
    else
        source = std::make_unique<WavFileSource>(options.audioFiles);
    SphinxEngine::Options engineOptions;
    engineOptions.sensitivity = RecognizerSettings::sensitivity();
    SphinxRecognizer recognizer(std::move(source), engineOptions, &RecognizerSettings::voiceLevel);

    // What was heard goes to the standard error too, for a look at what the program understood.
    QObject::connect(&recognizer, &Recognizer::PhraseRecognized, &recognizer,
                     [&err](const QString &phrase) { err << "Heard: " << phrase << Qt::endl; });
    X11GlobalShortcut listeningKey;
    PulseAudioSources soundSources;
    frmJev window(dir, desktop.engine(), recognizer, &listeningKey, &soundSources);
    prompter.setParent(&window);
    window.load();
    if (recognizer.isActive())
        err << "Listening." << Qt::endl;
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        window.tellStartupProblems();
        window.offerSamples();
    });
    return application.exec();
}
