// Soak: the program's two long-running paths, run long, with an eye on resident memory.
// Dispatch: PHRASES spoken words go through the engine as keystrokes into a key-logging target
// on a private X server (Xvfb and openbox), as bench-dispatch does; every key is checked to
// have arrived. Listening: MINUTES of speech and silence (espeak-ng and flite, then sox, in a
// temporary folder) play from WAV files at full speed through the real recognizer; what it
// heard is compared with what was said.
// Resident memory is printed at the start (after a warm-up of 100 phrases and a minute of
// listening, so that what is loaded once does not count as growth), between and at the end.
// Usage: bench-soak [PHRASES] [MINUTES]   (default 10000 and 30)

#include "Soak.h"
#include "SoakDispatcher.h"
#include "SoakListener.h"
#include "SoakSpeech.h"

#include "data/CFile.h"
#include "data/MemoryListBox.h"
#include "engine/CApp.h"
#include "engine/RunningApps.h"
#include "engine/Vocabularies.h"
#include "platform/fake/ScriptedPrompter.h"
#include "platform/qt/ProcessShell.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "platform/x11/X11WindowSystem.h"
#include "recognizer/SphinxRecognizer.h"
#include "support/RecordFileBytes.h"
#include "support/XvfbSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

void fail(const QString &why)
{
    QTextStream(stderr) << "bench-soak: " << why << Qt::endl;
    std::exit(1);
}

QString memoryLine(const QString &when, qint64 kb, qint64 startKb)
{
    QString line = QStringLiteral("%1 %2 MB").arg(when, -44).arg(kb / 1024.0, 7, 'f', 1);
    if (startKb >= 0)
        line += QStringLiteral("  (%1%2 MB since the start)")
                    .arg(kb >= startKb ? "+" : "")
                    .arg((kb - startKb) / 1024.0, 0, 'f', 2);
    return line;
}

QString lossLine(const QString &what, const Soak::Tally &tally)
{
    return QStringLiteral("%1 %2 of %3 lost, %4 unexpected%5")
        .arg(what, -44)
        .arg(tally.lost)
        .arg(tally.expected)
        .arg(tally.unexpected)
        .arg(tally.detail.isEmpty() ? QString() : QStringLiteral(" (") + tally.detail + ")");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const int phrases = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const int minutes = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 30;
    QElapsedTimer clock;
    clock.start();

    XvfbSession session;
    QString error;
    QTemporaryDir dir;
    const QString log = dir.filePath("target.log");
    if (!session.start(&error) ||
        !session.startTarget("SoakTarget", "Soak Editor", log, {}, &error))
        fail(error);
    const QString data = dir.filePath("data");
    RecordFileBytes::write(
        data + "/VAppCmd.txt",
        RecordFileBytes::file({"SoakTarget \xA6 Soak Editor*editor~Keys$/bin/true"},
                              CFile::AppSlotLength));
    RecordFileBytes::write(data + "/vocab/Keys.txt",
                           RecordFileBytes::file(Soak::records(), CFile::VocabSlotLength));
    if (const EditResult result = Vocabularies(data).writeGrammar(); !result.isDone())
        fail(QStringLiteral("the grammar could not be written"));

    SoakSpeech speech(dir.filePath("speech"));
    if (!speech.make(minutes, &error))
        fail(error);

    X11Connection connection;
    X11WindowSystem windows(connection);
    X11KeystrokeSender keys(connection);
    ProcessShell shell;
    ScriptedPrompter prompter;
    RunningApps running(windows);
    CApp app(data, {prompter, windows, keys, shell, running});
    MemoryListBox list;
    running.FillRunningApps(list);
    app.AppCheck(QStringLiteral("editor"));

    SoakListener listener(speech.files(), data + "/temp.txt");
    if (!listener.load(&error))
        fail(error);

    // The warm-up: a minute of listening and 100 phrases.
    SoakDispatcher dispatcher(app, log);
    if (!listener.listen(SoakSpeech::MinuteSamples, &error) || !dispatcher.dispatch(100, &error))
        fail(error);
    const qint64 startKb = Soak::residentKb();
    out << memoryLine("resident memory at the start:", startKb, -1) << Qt::endl;

    QElapsedTimer phase;
    phase.start();
    if (!dispatcher.dispatch(phrases, &error))
        fail(error);
    const double dispatchSeconds = phase.nsecsElapsed() / 1e9;
    out << memoryLine(QStringLiteral("after dispatching %1 phrases (%2 s):")
                          .arg(phrases)
                          .arg(dispatchSeconds, 0, 'f', 0),
                      Soak::residentKb(), startKb)
        << Qt::endl;

    phase.restart();
    if (!listener.listen(minutes * SoakSpeech::MinuteSamples, &error))
        fail(error);
    const double listenSeconds = phase.nsecsElapsed() / 1e9;
    const qint64 endKb = Soak::residentKb();
    out << memoryLine(QStringLiteral("after listening to %1 minutes (%2 s):")
                          .arg(minutes)
                          .arg(listenSeconds, 0, 'f', 0),
                      endKb, startKb)
        << Qt::endl;

    out << lossLine("keystrokes (all phrases, warm-up included):", dispatcher.tally()) << Qt::endl;
    out << lossLine("phrases heard (all minutes, warm-up included):",
                    Soak::compare(speech.said(), listener.heard()))
        << Qt::endl;
    out << QStringLiteral("memory growth: %1 MB; total time %2 s")
               .arg((endKb - startKb) / 1024.0, 0, 'f', 2)
               .arg(clock.elapsed() / 1000)
        << Qt::endl;
    return 0;
}
