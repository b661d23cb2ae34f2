#include "CommandLine.h"

#include "ConsolePrompter.h"
#include "DesktopServices.h"
#include "ProgramOptions.h"
#include "RecognizeTask.h"
#include "config/ProgramFiles.h"
#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "data/MemoryListBox.h"
#include "engine/ApplicationList.h"
#include "engine/CApp.h"
#include "engine/KeystrokeText.h"
#include "engine/RunningApps.h"
#include "engine/SampleVocabularies.h"
#include "engine/Vocabularies.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "platform/x11/X11WindowSystem.h"

#include <QFileInfo>

CommandLine::CommandLine(QTextStream &out, QTextStream &err)
    : m_out(out), m_err(err), m_prompter(std::make_unique<ConsolePrompter>(err)),
      m_desktop(std::make_unique<DesktopServices>(*m_prompter))
{}

CommandLine::~CommandLine() = default;

int CommandLine::run(const ProgramOptions &options)
{
    m_dir = options.dataDirectory();
    QString problem;
    if (!DataDirectory::prepare(m_dir, &problem)) {
        m_err << problem << Qt::endl;
        if (!QFileInfo(m_dir).isDir())
            return Refused;
    }
    QStringList args = options.task;
    const QString command = args.takeFirst();
    try {
        return dispatch(command, args);
    } catch (const AppError &e) {
        // The engine answers with results; a numbered error that still escapes is a refusal.
        return refuse(e.message());
    }
}

int CommandLine::dispatch(const QString &command, const QStringList &args)
{
    if (command == QLatin1String("apps"))
        return apps(args);
    if (command == QLatin1String("vocabs"))
        return vocabs(args);
    if (command == QLatin1String("words"))
        return words(args);
    if (command == QLatin1String("grammar") && args.isEmpty())
        return grammar();
    if (command == QLatin1String("windows") && args.isEmpty())
        return windows();
    if (command == QLatin1String("say") && args.size() == 1)
        return say(args.first());
    if (command == QLatin1String("keys") && args.size() == 1)
        return keys(args.first());
    if (command == QLatin1String("samples") && args.size() <= 1)
        return samples(args);
    if (command == QLatin1String("recognize") && !args.isEmpty())
        return RecognizeTask(m_dir, m_out, m_err).run(args);
    return wrongUsage(QStringLiteral("unknown command %1").arg(command));
}

int CommandLine::apps(const QStringList &args)
{
    const QString sub = args.value(0);
    const std::optional<int> position = ProgramOptions::index(args.value(1));
    ApplicationList list(m_dir);
    if (args.isEmpty())
        return appsList();
    if (sub == QLatin1String("add") && args.size() == 2)
        return present(list.add(args.at(1)));
    if ((sub == QLatin1String("set") && args.size() == 5) ||
        (sub == QLatin1String("delete") && args.size() == 2)) {
        if (!position)
            return wrongUsage(QStringLiteral("POS must be a number from 0"));
        if (sub == QLatin1String("set"))
            return present(list.save(*position, args.at(2), args.at(3), args.at(4)));
        return present(list.remove(list.entries().names(), *position));
    }
    return wrongUsage(QStringLiteral("apps takes add ENTRY, set POS SPOKEN VOCAB PATH or "
                                     "delete POS"));
}

int CommandLine::samples(const QStringList &args)
{
    const SampleVocabularies samples(m_dir, ProgramFiles::folder(QStringLiteral("samples")));
    if (args.isEmpty()) {
        for (const QString &name : samples.names())
            m_out << name << '\n';
        return Done;
    }
    if (args.first() != QLatin1String("add"))
        return wrongUsage(QStringLiteral("samples takes nothing or add"));
    QStringList copied;
    const int code = present(samples.copyInto(&copied));
    for (const QString &name : std::as_const(copied))
        m_out << name << '\n';
    return code;
}

int CommandLine::appsList()
{
    const ApplicationList::Listing listing = ApplicationList(m_dir).entries();
    for (const VAppCmdRecord &entry : listing.entries)
        m_out << entry.AppName << '\t' << entry.UserName << '\t' << entry.VocabName << '\t'
              << entry.PathName << '\n';
    return present(listing.result);
}

int CommandLine::vocabs(const QStringList &args)
{
    const QString sub = args.value(0);
    Vocabularies vocabularies(m_dir);
    if (args.isEmpty()) {
        for (const QString &name : vocabularies.names())
            m_out << name << '\n';
        return Done;
    }
    if (sub == QLatin1String("new") && args.size() == 2)
        return present(vocabularies.create(args.at(1)));
    if (sub == QLatin1String("delete") && args.size() == 2)
        return present(vocabularies.remove(args.at(1)));
    return wrongUsage(QStringLiteral("vocabs takes new NAME or delete NAME"));
}

int CommandLine::words(const QStringList &args)
{
    const QString sub = args.value(0);
    const QString name = args.value(1);
    const std::optional<int> index = ProgramOptions::index(args.value(2));
    Vocabularies vocabularies(m_dir);
    if (args.size() == 1)
        return wordsList(args.at(0));
    if (sub == QLatin1String("add") && args.size() == 3)
        return present(vocabularies.addWord(name, args.at(2)));
    if ((sub == QLatin1String("set") && args.size() == 4) ||
        (sub == QLatin1String("delete") && args.size() == 3)) {
        if (!index)
            return wrongUsage(QStringLiteral("IDX must be a number from 0"));
        if (sub == QLatin1String("set"))
            return present(vocabularies.setWord(name, *index, args.at(3)));
        return present(vocabularies.deleteWord(name, *index));
    }
    return wrongUsage(QStringLiteral("words takes VOCAB, add VOCAB WORD, set VOCAB IDX WORD or "
                                     "delete VOCAB IDX"));
}

int CommandLine::wordsList(const QString &vocab)
{
    const Vocabularies::Words words = Vocabularies(m_dir).words(vocab);
    for (const QString &word : words.words)
        m_out << word << '\n';
    return present(words.result);
}

int CommandLine::grammar()
{
    if (const EditResult result = Vocabularies(m_dir).writeGrammar(); !result.isDone())
        return present(result);
    m_out << DataFiles::grammarPath(m_dir) << '\n';
    return Done;
}

bool CommandLine::desktopAvailable()
{
    QString reason;
    if (m_desktop->windows().isAvailable(&reason))
        return true;
    m_err << reason << Qt::endl;
    return false;
}

int CommandLine::windows()
{
    if (!desktopAvailable())
        return Refused;
    MemoryListBox lstRunApp;
    m_desktop->runningApps().FillRunningApps(lstRunApp);
    for (const QString &entry : lstRunApp.items())
        m_out << entry << '\n';
    return Done;
}

int CommandLine::say(const QString &phrase)
{
    if (!desktopAvailable())
        return Refused;
    // As the speech window does: the running applications are known before the phrase comes.
    MemoryListBox lstRunApp;
    m_desktop->runningApps().FillRunningApps(lstRunApp);
    CApp app(m_dir, m_desktop->engine());
    qint16 result = app.AppCheck(phrase);
    if (result != 1)
        result = app.VocabCheck(phrase);
    m_out << result << '\n';
    if (!app.lastKeystrokeError().isEmpty())
        m_err << app.lastKeystrokeError() << Qt::endl;
    return Done;
}

int CommandLine::keys(const QString &text)
{
    if (!desktopAvailable())
        return Refused;
    QString error;
    if (!sendKeystrokeText(m_desktop->keys(), text, &error))
        return refuse(error);
    return Done;
}

int CommandLine::present(const EditResult &result)
{
    if (result.isDone())
        return Done;
    if (!result.text.isEmpty())
        m_err << result.text << Qt::endl;
    if (!result.detail.isEmpty())
        m_err << result.detail << Qt::endl;
    return Refused;
}

int CommandLine::wrongUsage(const QString &why)
{
    m_err << "jev: " << why << "\n\n" << ProgramOptions::usage();
    return WrongUsage;
}

int CommandLine::refuse(const QString &message)
{
    m_err << message << Qt::endl;
    return Refused;
}
