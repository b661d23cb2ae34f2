#include "ProgramOptions.h"

#include "data/DataDirectory.h"

QString ProgramOptions::dataDirectory() const
{
    return DataDirectory::choose(DataDirectory::fromEnvironment(dataDir));
}

std::optional<ProgramOptions> ProgramOptions::parse(const QStringList &args, QString *error)
{
    ProgramOptions options;
    auto wrong = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--data-dir")) {
            if (i + 1 == args.size())
                return wrong(QStringLiteral("--data-dir needs a directory"));
            options.dataDir = args.at(++i);
        } else if (arg.startsWith(QLatin1String("--data-dir="))) {
            options.dataDir = arg.section(QLatin1Char('='), 1);
        } else if (arg == QLatin1String("--audio-file")) {
            // The files run up to the next option; a command after them would be a file too.
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--")))
                options.audioFiles.append(args.at(++i));
            if (options.audioFiles.isEmpty())
                return wrong(QStringLiteral("--audio-file needs at least one WAV file"));
        } else if (!options.audioFiles.isEmpty() ||
                   (arg.startsWith(QLatin1String("--")) && arg != QLatin1String("--help") &&
                    arg != QLatin1String("--version"))) {
            // Audio files are for the speech window, which takes no command.
            return wrong(QStringLiteral("unknown option %1").arg(arg));
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("help")) {
            options.help = true;
            return options;
        } else if (arg == QLatin1String("--version")) {
            options.version = true;
            return options;
        } else {
            options.task = args.mid(i);
            break;
        }
    }
    return options;
}

QString ProgramOptions::usage()
{
    return QStringLiteral(
        "Usage: jev [--data-dir DIR] [--audio-file F.wav ...]\n"
        "       jev [--data-dir DIR] COMMAND ARGS...\n"
        "       jev --help | --version\n"
        "\n"
        "Without a command, jev starts its speech window and listens to the microphone, or\n"
        "to the WAV files given after --audio-file, played in real time, then silence. The\n"
        "files pause while listening is off and go on where they stopped. A click on the\n"
        "level bar, Alt+F1 in the window or the listening key (Ctrl+Alt+Space, key\n"
        "Desktop/ListeningKey of ~/.config/DuveVuvuraru/jev.conf) switches listening off\n"
        "and on; the window's context menu opens \"What Can I Say\".\n"
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
        "  samples                       list the sample vocabularies shipped with jev\n"
        "  samples add                   copy them into the data directory (none is replaced)\n"
        "\n"
        "Positions and indexes count from 0. The data directory is DIR, else $JEV_HOME,\n"
        "else the program's directory when it holds VAppCmd.txt, else ~/.local/share/jev.\n");
}

std::optional<int> ProgramOptions::index(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}
