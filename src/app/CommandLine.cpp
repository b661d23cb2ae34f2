#include "CommandLine.h"

#include "ConsolePrompter.h"
#include "DesktopServices.h"
#include "RecognizeTask.h"
#include "data/AppError.h"
#include "data/CVocab.h"
#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "data/MemoryListBox.h"
#include "data/VAppCmdRecord.h"
#include "engine/CApp.h"
#include "engine/KeystrokeText.h"
#include "engine/RunningApps.h"
#include "engine/VocabularyRewrite.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "platform/x11/X11WindowSystem.h"

#include <QFileInfo>
#include <optional>

namespace {

constexpr int kMaxVocabularies = 30;

// A position or index argument: a whole number from 0.
std::optional<int> parseIndex(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

CommandLine::CommandLine(QTextStream &out, QTextStream &err)
    : m_out(out), m_err(err), m_prompter(std::make_unique<ConsolePrompter>(err)),
      m_desktop(std::make_unique<DesktopServices>(*m_prompter))
{}

CommandLine::~CommandLine() = default;

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: jev [--data-dir DIR] [--audio-file F.wav ...]\n"
        "       jev [--data-dir DIR] COMMAND ARGS...\n"
        "\n"
        "Without a command, jev starts its speech window and listens to the microphone, or\n"
        "to the WAV files given after --audio-file, played in real time, then silence.\n"
        "\n"
        "Commands:\n"
        "  apps                          list the voice-controlled applications\n"
        "  apps add ENTRY                add a running application (\"class ¦ title\")\n"
        "  apps set POS SPOKEN VOCAB PATH  save the fields of the entry at POS\n"
        "  apps delete POS               delete the entry at POS\n"
        "  vocabs                        list the vocabularies\n"
        "  vocabs new NAME               create a vocabulary\n"
        "  vocabs delete NAME            delete a vocabulary\n"
        "  words VOCAB                   list the words of a vocabulary\n"
        "  words add VOCAB WORD          append a word (\"phrase:keystrokes\")\n"
        "  words set VOCAB IDX WORD      replace the word at IDX\n"
        "  words delete VOCAB IDX        delete the word at IDX\n"
        "  grammar                       regenerate temp.txt and print its path\n"
        "  windows                       list the running applications\n"
        "  say PHRASE                    act on PHRASE as if it was heard; prints 1, 2 or 0\n"
        "  keys TEXT                     send keystrokes (\"^a\", \"{F5}\") to the window in "
        "front\n"
        "  recognize F.wav ...           print the phrases of temp.txt heard in the files\n"
        "\n"
        "Positions and indexes count from 0. The data directory is DIR, else $JEV_HOME,\n"
        "else the program's directory when it holds VAppCmd.txt, else ~/.local/share/jev.\n");
}

int CommandLine::run(QStringList args)
{
    QString dataDir;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--help"))
            return (m_out << usage(), Done);
        if (option == QLatin1String("--data-dir") && args.isEmpty())
            return wrongUsage(QStringLiteral("--data-dir needs a directory"));
        if (option == QLatin1String("--data-dir"))
            dataDir = args.takeFirst();
        else if (option.startsWith(QLatin1String("--data-dir=")))
            dataDir = option.section(QLatin1Char('='), 1);
        else
            return wrongUsage(QStringLiteral("unknown option %1").arg(option));
    }
    if (args.isEmpty() || args.first() == QLatin1String("help"))
        return (m_out << usage(), Done);

    m_dir = DataDirectory::choose(DataDirectory::fromEnvironment(dataDir));
    QString problem;
    if (!DataDirectory::prepare(m_dir, &problem)) {
        m_err << problem << Qt::endl;
        if (!QFileInfo(m_dir).isDir())
            return Refused;
    }
    const QString command = args.takeFirst();
    try {
        return dispatch(command, args);
    } catch (const AppError &e) {
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
    if (command == QLatin1String("recognize") && !args.isEmpty())
        return RecognizeTask(m_dir, m_out, m_err).run(args);
    return wrongUsage(QStringLiteral("unknown command %1").arg(command));
}

int CommandLine::apps(const QStringList &args)
{
    const QString sub = args.value(0);
    if (args.isEmpty())
        return appsList();
    if (sub == QLatin1String("add") && args.size() == 2)
        return appsAdd(args.at(1));
    if (sub == QLatin1String("set") && args.size() == 5)
        return appsSet(args.mid(1));
    if (sub == QLatin1String("delete") && args.size() == 2)
        return appsDelete(args.at(1));
    return wrongUsage(QStringLiteral("apps takes add ENTRY, set POS SPOKEN VOCAB PATH or "
                                     "delete POS"));
}

int CommandLine::appsList()
{
    MemoryListBox lstVAppCmd;
    CApp app(m_dir, m_desktop->engine(), &lstVAppCmd);
    app.FillVACListBox();
    for (int i = 0; i < lstVAppCmd.count(); ++i) {
        const QString user = app.UserDefinedName(qint16(i));
        m_out << lstVAppCmd.item(i) << '\t' << user << '\t' << app.VocabularyName() << '\t'
              << app.PathName() << '\n';
    }
    if (const auto error = app.lastError())
        return refuse(QStringLiteral("%1, record %2: %3")
                          .arg(DataFiles::appListFileName())
                          .arg(lstVAppCmd.count() + 1)
                          .arg(error->message()));
    return Done;
}

int CommandLine::appsAdd(const QString &entry)
{
    MemoryListBox lstVAppCmd;
    CApp app(m_dir, m_desktop->engine(), &lstVAppCmd);
    app.FillVACListBox();
    if (lstVAppCmd.selectedIndex() < 0)
        app.InitRecord();
    if (entry.isEmpty())
        return refuse(QStringLiteral("An application entry cannot be empty."));
    if (const QString problem = VAppCmdRecord::appNameProblem(entry); !problem.isEmpty())
        return refuse(problem);
    if (lstVAppCmd.findExact(entry) >= 0) {
        m_prompter->showMessage(QStringLiteral("You Already Have An Entry With This Name!"),
                                kProgramTitle, Prompter::Icon::None);
        return Refused;
    }
    const qint16 n = app.AppRecordCount();
    lstVAppCmd.insertItem(n - 1, entry);
    app.VAppAdd(entry, n, false);
    return Done;
}

int CommandLine::appsSet(const QStringList &args)
{
    const auto position = parseIndex(args.at(0));
    if (!position)
        return wrongUsage(QStringLiteral("POS must be a number from 0"));
    MemoryListBox lstVAppCmd;
    CApp app(m_dir, m_desktop->engine(), &lstVAppCmd);
    app.FillVACListBox();
    if (*position >= lstVAppCmd.count())
        return refuse(QStringLiteral("There is no application at position %1.").arg(*position));
    if (const QString problem = VAppCmdRecord::fieldProblem(args.at(1), args.at(2));
        !problem.isEmpty())
        return refuse(problem);
    lstVAppCmd.setSelectedIndex(*position);
    app.AddUserAppName(args.at(1), args.at(2), args.at(3), qint16(*position));
    return Done;
}

int CommandLine::appsDelete(const QString &position)
{
    const auto index = parseIndex(position);
    if (!index)
        return wrongUsage(QStringLiteral("POS must be a number from 0"));
    MemoryListBox lstVAppCmd;
    CApp app(m_dir, m_desktop->engine(), &lstVAppCmd);
    app.FillVACListBox();
    lstVAppCmd.setSelectedIndex(*index);
    app.DelRunApp(); // its message says what went wrong, and where
    return m_prompter->messageCount() == 0 ? Done : Refused;
}

int CommandLine::vocabs(const QStringList &args)
{
    const QString sub = args.value(0);
    if (args.isEmpty()) {
        for (const QString &name : CVocab::vocabNames(m_dir))
            m_out << name << '\n';
        return Done;
    }
    if (sub == QLatin1String("new") && args.size() == 2)
        return vocabsNew(args.at(1));
    if (sub == QLatin1String("delete") && args.size() == 2)
        return vocabsDelete(args.at(1));
    return wrongUsage(QStringLiteral("vocabs takes new NAME or delete NAME"));
}

int CommandLine::vocabsNew(const QString &name)
{
    MemoryListBox lstVocab;
    CVocab vocab(m_dir, {&lstVocab, nullptr, nullptr});
    vocab.FillVocabFile(true);
    if (name.isEmpty())
        return refuse(CVocab::newNameProblem(name));
    if (lstVocab.findExact(name) >= 0) {
        m_prompter->showMessage(QStringLiteral("You Already Have A Vocabulary With That Name!"),
                                kProgramTitle, Prompter::Icon::None);
        return Refused;
    }
    if (lstVocab.count() >= kMaxVocabularies) {
        m_prompter->showMessage(
            QStringLiteral("You Have Too Many Vocabularies Already!  The Maximum is 30."),
            QStringLiteral("Vocabulary Overload"), Prompter::Icon::Information);
        return Refused;
    }
    if (const QString problem = CVocab::newNameProblem(name); !problem.isEmpty())
        return refuse(problem);
    vocab.CreateNewVocab(name);
    return Done;
}

int CommandLine::vocabsDelete(const QString &name)
{
    if (!vocabularyExists(name)) {
        m_prompter->showMessage(QStringLiteral("You Must Select A Vocabulary First!"),
                                QStringLiteral("Vocabulary Deletion"), Prompter::Icon::Information);
        return Refused;
    }
    CVocab(m_dir).DeleteVocabFile(name);
    return Done;
}

int CommandLine::words(const QStringList &args)
{
    const QString sub = args.value(0);
    if (args.size() == 1)
        return wordsList(args.at(0));
    if (sub == QLatin1String("add") && args.size() == 3)
        return wordsAdd(args.at(1), args.at(2));
    if (sub == QLatin1String("set") && args.size() == 4)
        return wordsSet(args.at(1), args.at(2), args.at(3));
    if (sub == QLatin1String("delete") && args.size() == 3)
        return wordsDelete(args.at(1), args.at(2));
    return wrongUsage(QStringLiteral("words takes VOCAB, add VOCAB WORD, set VOCAB IDX WORD or "
                                     "delete VOCAB IDX"));
}

int CommandLine::wordsList(const QString &name)
{
    if (!vocabularyExists(name))
        return refuse(QStringLiteral("There is no vocabulary named \"%1\".").arg(name));
    MemoryListBox lstDictionary;
    CVocab vocab(m_dir, {nullptr, &lstDictionary, nullptr});
    std::optional<AppError> error;
    try {
        vocab.FillDictionaryListBox(true, name);
    } catch (const AppError &e) {
        error = e; // the words before the damaged record are still worth showing
    }
    for (const QString &word : lstDictionary.items())
        m_out << word << '\n';
    if (error)
        return refuse(QStringLiteral("%1, record %2: %3")
                          .arg(DataFiles::vocabFileName(name))
                          .arg(lstDictionary.count() + 1)
                          .arg(error->message()));
    return Done;
}

int CommandLine::wordsAdd(const QString &name, const QString &word)
{
    if (!vocabularyExists(name))
        return refuse(QStringLiteral("There is no vocabulary named \"%1\".").arg(name));
    CVocab vocab(m_dir);
    vocab.DictionaryInitialize();
    vocab.DictionaryRecordCount(name);
    vocab.AddDictionaryWord(true, name, word, QStringLiteral("SaveChanges"));
    return Done;
}

int CommandLine::wordsSet(const QString &name, const QString &index, const QString &word)
{
    const auto idx = parseIndex(index);
    if (!idx)
        return wrongUsage(QStringLiteral("IDX must be a number from 0"));
    if (!vocabularyExists(name))
        return refuse(QStringLiteral("There is no vocabulary named \"%1\".").arg(name));
    MemoryListBox lstDictionary;
    CVocab vocab(m_dir, {nullptr, &lstDictionary, nullptr});
    vocab.FillDictionaryListBox(true, name);
    if (*idx >= lstDictionary.count())
        return refuse(QStringLiteral("There is no word at index %1.").arg(*idx));
    // As a click on the word does: the cursor goes to the first record equal to it.
    vocab.DictionarySelect(name, lstDictionary.item(*idx));
    vocab.DictionaryInitialize();
    vocab.AddDictionaryWord(true, name, word, QStringLiteral("SaveChanges"));
    return Done;
}

int CommandLine::wordsDelete(const QString &name, const QString &index)
{
    const auto idx = parseIndex(index);
    if (!idx)
        return wrongUsage(QStringLiteral("IDX must be a number from 0"));
    if (!vocabularyExists(name))
        return refuse(QStringLiteral("There is no vocabulary named \"%1\".").arg(name));
    MemoryListBox lstDictionary;
    CVocab vocab(m_dir, {nullptr, &lstDictionary, nullptr});
    CApp app(m_dir, m_desktop->engine());
    vocab.FillDictionaryListBox(true, name);
    if (*idx >= lstDictionary.count())
        return refuse(QStringLiteral("There is no word at index %1.").arg(*idx));
    vocab.DictionaryInitialize();
    lstDictionary.removeItem(*idx);
    try {
        RewriteVocabulary(app, vocab, name, lstDictionary);
    } catch (const AppError &e) {
        if (e.number() != AppErrorNumber::StoreRefused)
            throw;
        m_prompter->showMessage(QStringLiteral("Please Select A Dictionary Word To Delete!"),
                                kProgramTitle, Prompter::Icon::None);
        return refuse(e.message());
    }
    return Done;
}

int CommandLine::grammar()
{
    MemoryListBox lstVocab;
    CVocab vocab(m_dir, {&lstVocab, nullptr, nullptr});
    vocab.FillVocabFile(true);
    CFile file(m_dir);
    QString error;
    if (!file.TempLoad(lstVocab, &error))
        return refuse(QStringLiteral("The grammar could not be written: %1").arg(error));
    m_out << file.grammarPath() << '\n';
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

bool CommandLine::vocabularyExists(const QString &name)
{
    // File names are case-sensitive here, so the listed name must match exactly.
    return CVocab::vocabNames(m_dir).contains(name);
}

int CommandLine::wrongUsage(const QString &why)
{
    m_err << "jev: " << why << "\n\n" << usage();
    return WrongUsage;
}

int CommandLine::refuse(const QString &message)
{
    m_err << message << Qt::endl;
    return Refused;
}
