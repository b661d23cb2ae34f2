#include "data/MemoryListBox.h"
#include "engine/CApp.h"
#include "support/FakeDesktop.h"
#include "support/TempDataDir.h"

#include <QTemporaryDir>
#include <QTest>

// Phrases turned into actions, on a desktop of fakes.
class TestDispatch : public QObject
{
    Q_OBJECT

private:
    static constexpr WindowId kEditor = 11;
    static constexpr WindowId kBrowser = 22;
    static constexpr WindowId kSpeech = 33;
    static constexpr WindowId kSecondEditor = 55;
    static constexpr WindowId kGone = 66;

    void setExactTitles(bool exact)
    {
        m_desktop->runningApps.setWindowMatching(exact
                                                     ? RunningApps::WindowMatching::ExactTitle
                                                     : RunningApps::WindowMatching::ClassFallback);
    }
    // Dispatches as the speech window does, the running applications listed first.
    qint16 say(CApp &app, const QString &phrase)
    {
        MemoryListBox running;
        m_desktop->runningApps.FillRunningApps(running);
        const qint16 result = app.AppCheck(phrase);
        return result == 1 ? result : app.VocabCheck(phrase);
    }

    std::unique_ptr<TempDataDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<TempDataDir>();
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->windows.addWindow(kEditor, "Gedit", "notes.txt - gedit");
        m_desktop->windows.addWindow(kBrowser, "Firefox", "Start page");
        m_desktop->windows.addWindow(kSpeech, "jev", "JEV! Voice Control");
        m_desktop->windows.setForeground(kSpeech);
        // The last two are never switched to: of two equal names the first one counts, and no
        // phrase is empty.
        m_dir->writeApps({"Gedit \xA6 notes.txt - gedit*editor~Editing$/usr/bin/gedit",
                          "Firefox \xA6 Start page*Browser~Browsing$firefox",
                          "Gone \xA6 closed*gone~Editing$/opt/gone",
                          "Firefox \xA6 Start page*editor~Browsing$firefox",
                          "Nameless \xA6 x*~Editing$/opt/nameless"});
        m_dir->writeVocab("Editing", {"save:^s", "open:%fo", "colons:a:b:c", "broken:ab{FOO}"});
        m_dir->writeVocab("Browsing", {"reload:{F5}", "broken line", "back:%{LEFT}"});
    }

    // Nothing is switched to or started by these.
    void phrases_data()
    {
        QTest::addColumn<WindowId>("front");
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("keys");
        const auto row = [](const char *name, WindowId front, const QString &phrase, int result,
                            const QStringList &keys) {
            QTest::newRow(name) << front << phrase << result << keys;
        };
        row("names compare exactly", kEditor, "browser", 0, {});
        row("word of the app in front", kEditor, "save", 2, {"Ctrl+s"});
        row("everything after the first colon", kEditor, "colons", 2, {"a | : | b | : | c"});
        row("word of another vocabulary", kEditor, "reload", 0, {});
        row("line without colon ends the lookup", kBrowser, "back", 0, {});
        row("before the broken line", kBrowser, "reload", 2, {"<F5>"});
        row("phrase case counts", kEditor, "Save", 0, {});
        row("empty phrase", kEditor, "", 0, {});
    }

    void phrases()
    {
        QFETCH(WindowId, front);
        QFETCH(QString, phrase);
        QFETCH(int, result);
        QFETCH(QStringList, keys);
        m_desktop->windows.setForeground(front);
        CApp app(m_dir->path(), m_desktop->services());
        QCOMPARE(say(app, phrase), qint16(result));
        QCOMPARE(m_desktop->windows.foregroundWindow(), front);
        QCOMPARE(m_desktop->keys.texts(), keys);
        QVERIFY(m_desktop->shell.calls().isEmpty());
        QVERIFY(m_desktop->prompter.shown().isEmpty());
    }

    // After a switch by voice the speech window may be in front: the editor's words are found
    // through the window last activated, but nothing is typed into the program's own window,
    // nor, with no window in front, wherever the input focus happens to be.
    void lastActivatedWindow()
    {
        CApp app(m_dir->path(), m_desktop->services());
        QCOMPARE(say(app, "editor"), qint16(1));
        m_desktop->windows.setForeground(kSpeech);
        QCOMPARE(say(app, "save"), qint16(0));
        m_desktop->windows.setForeground(0);
        QCOMPARE(say(app, "save"), qint16(0));
        QVERIFY(m_desktop->keys.texts().isEmpty());

        // A window in front that is no configured application uses the last activated one.
        m_desktop->windows.addWindow(44, "XTerm", "shell");
        m_desktop->windows.setForeground(44);
        QCOMPARE(say(app, "save"), qint16(2));
        QCOMPARE(m_desktop->keys.texts(), QStringList({"Ctrl+s"}));
    }

    // Records name windows by class and title as they were when added; titles change while a
    // program is used, so a window of the record's class stands in unless titles must match.
    // raised: a second window of the class is opened and these raised in turn. The program is
    // started exactly when the speech window stays in front.
    void switching_data()
    {
        QTest::addColumn<QString>("editorTitle");
        QTest::addColumn<QList<WindowId>>("raised");
        QTest::addColumn<bool>("exactTitles");
        QTest::addColumn<WindowId>("frontAfter");
        using W = QList<WindowId>;
        const QString title = "notes.txt - gedit", changed = "*notes.txt - gedit";
        QTest::newRow("same title") << title << W{} << false << kEditor;
        QTest::newRow("changed title") << changed << W{} << false << kEditor;
        QTest::newRow("changed title, exact titles") << changed << W{} << true << kSpeech;
        QTest::newRow("same title, exact titles") << title << W{} << true << kEditor;
        QTest::newRow("no window of the class") << QString() << W{} << false << kSpeech;
        QTest::newRow("two of the class, second raised last")
            << changed << W{kEditor, kSecondEditor, kBrowser} << false << kSecondEditor;
        QTest::newRow("two of the class, first raised last")
            << changed << W{kSecondEditor, kEditor, kBrowser} << false << kEditor;
    }

    void switching()
    {
        QFETCH(QString, editorTitle);
        QFETCH(QList<WindowId>, raised);
        QFETCH(bool, exactTitles);
        QFETCH(WindowId, frontAfter);
        const QStringList shell =
            frontAfter == kSpeech ? QStringList{"open /usr/bin/gedit"} : QStringList{};
        if (editorTitle.isEmpty())
            m_desktop->windows.removeWindow(kEditor);
        else
            m_desktop->windows.setTitle(kEditor, editorTitle);
        if (!raised.isEmpty())
            m_desktop->windows.addWindow(kSecondEditor, "Gedit", "todo.txt - gedit");
        for (WindowId window : raised)
            m_desktop->windows.forceForeground(window);
        m_desktop->windows.setForeground(kSpeech);
        setExactTitles(exactTitles);
        CApp app(m_dir->path(), m_desktop->services());
        QCOMPARE(say(app, "editor"), qint16(1));
        QCOMPARE(m_desktop->windows.foregroundWindow(), frontAfter);
        QCOMPARE(m_desktop->shell.calls(), shell);

        // The configuration window's "Activate" finds the same window and never starts one.
        m_desktop->windows.setForeground(kSpeech);
        app.SetForeground("Gedit ¦ notes.txt - gedit");
        QCOMPARE(m_desktop->windows.foregroundWindow(), frontAfter);
        QCOMPARE(m_desktop->shell.calls(), shell);
    }

    // Which record's vocabulary serves the window in front. The window was listed with
    // listedTitle (none: never before the phrase), then its title became title.
    void recordChoice_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("listedTitle");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("exactTitles");
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QStringList>("keys");
        const auto row = [](const char *name, const QString &className, const QString &listedTitle,
                            const QString &title, bool exactTitles, const QString &phrase,
                            const QStringList &keys) {
            QTest::newRow(name) << className << listedTitle << title << exactTitles << phrase
                                << keys;
        };
        const QString notes = "notes.txt - gedit", web = "web.html - gedit", other = "other.txt";
        row("title equal", "Gedit", notes, notes, false, "save", {"Ctrl+s"});
        row("title changed: the record it was listed under", "Gedit", web, "*" + web, false,
            "reload", {"<F5>"});
        row("title changed: not the first record of the class", "Gedit", web, "*" + web, false,
            "save", {});
        row("class only: first record of the class", "Gedit", "", other, false, "save", {"Ctrl+s"});
        row("class only: other vocabularies unused", "Gedit", "", other, false, "reload", {});
        row("nothing of the class", "XTerm", "", "shell", false, "save", {});
        row("exact titles: title equal", "Gedit", web, web, true, "reload", {"<F5>"});
        row("exact titles: title changed", "Gedit", web, "*" + web, true, "reload", {});
        row("exact titles: class only", "Gedit", "", other, true, "save", {});
    }

    void recordChoice()
    {
        QFETCH(QString, className);
        QFETCH(QString, listedTitle);
        QFETCH(QString, title);
        QFETCH(bool, exactTitles);
        QFETCH(QString, phrase);
        QFETCH(QStringList, keys);
        m_dir->writeApps({"Gedit \xA6 notes.txt - gedit*editor~Editing$gedit",
                          "Gedit \xA6 web.html - gedit*web~Browsing$gedit",
                          "Firefox \xA6 Start page*Browser~Browsing$firefox"});
        m_desktop->windows.addWindow(kSecondEditor, className,
                                     listedTitle.isEmpty() ? title : listedTitle);
        MemoryListBox running;
        if (!listedTitle.isEmpty())
            m_desktop->runningApps.FillRunningApps(running);
        m_desktop->windows.setTitle(kSecondEditor, title);
        m_desktop->windows.setForeground(kSecondEditor);
        setExactTitles(exactTitles);
        CApp app(m_dir->path(), m_desktop->services());
        QCOMPARE(say(app, phrase), qint16(keys.isEmpty() ? 0 : 2));
        QCOMPARE(m_desktop->keys.texts(), keys);
    }

    // A program started by its spoken name maps its window a moment later; the next phrase is
    // meant for it, not for the window that was in front before.
    void phraseRightAfterAStart_data()
    {
        QTest::addColumn<bool>("windowComes");
        QTest::newRow("window comes") << true;
        QTest::newRow("window never comes") << false;
    }

    void phraseRightAfterAStart()
    {
        QFETCH(bool, windowComes);
        m_desktop->runningApps.setStartWaitMs(50);
        m_desktop->windows.setForeground(kBrowser);
        CApp app(m_dir->path(), m_desktop->services());
        QCOMPARE(say(app, "gone"), qint16(1));
        QCOMPARE(m_desktop->shell.calls(), QStringList({"open /opt/gone"}));
        if (windowComes)
            m_desktop->windows.addWindow(kGone, "Gone", "untitled");
        QCOMPARE(app.VocabCheck("save"), qint16(windowComes ? 2 : 0));
        QCOMPARE(m_desktop->keys.texts(), windowComes ? QStringList{"Ctrl+s"} : QStringList{});
        QCOMPARE(m_desktop->windows.foregroundWindow(), windowComes ? kGone : kBrowser);
        // Only the first phrase after the start waits: the browser's own words work again.
        m_desktop->windows.setForeground(kBrowser);
        QCOMPARE(app.VocabCheck("reload"), qint16(2));
    }

    void shellApp_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<ShellResult>("result");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("explore with a blank")
            << QByteArray("X \xA6 y*Explore Documents~V$/home/me/Documents") << ShellResult::Success
            << QStringList{"explore /home/me/Documents"} << QStringList{};
        QTest::newRow("explore without a blank")
            << QByteArray("X \xA6 y*ExploreDocuments~V$/home/me/Documents") << ShellResult::Success
            << QStringList{"open /home/me/Documents"} << QStringList{};
        QTest::newRow("launch fails")
            << QByteArray("X \xA6 y*run~V$/no/such") << ShellResult::FileNotFound
            << QStringList{"open /no/such"} << QStringList{"Error on LaunchDocument: 2"};
        QTest::newRow("launch refused")
            << QByteArray("X \xA6 y*run~V$/root/x") << ShellResult::AccessDenied
            << QStringList{"open /root/x"} << QStringList{"Error on LaunchDocument: 5"};
        QTest::newRow("nothing opens it")
            << QByteArray("X \xA6 y*run~V$a.xyz") << ShellResult::NoAssociation
            << QStringList{"open a.xyz"} << QStringList{"Error on LaunchDocument: 31"};
        QTest::newRow("explore fails")
            << QByteArray("X \xA6 y*explore it~V$/no/dir") << ShellResult::PathNotFound
            << QStringList{"explore /no/dir"} << QStringList{"Error on Explore: 3"};
        QTest::newRow("no path") << QByteArray("X \xA6 y*run~V$") << ShellResult::Success
                                 << QStringList{} << QStringList{};
    }

    void shellApp()
    {
        QFETCH(QByteArray, record);
        QFETCH(ShellResult, result);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, messages);
        m_dir->writeApps({record});
        m_desktop->shell.setResult(result);
        CApp app(m_dir->path(), m_desktop->services());
        const QString spoken = QString::fromLatin1(record).section('*', 1).section('~', 0, 0);
        QCOMPARE(app.AppCheck(spoken), qint16(1));
        QCOMPARE(m_desktop->shell.calls(), calls);
        QStringList shown;
        for (const auto &m : m_desktop->prompter.shown()) {
            shown.append(m.text);
            QCOMPARE(m.title, QString("JEV! Voice Command"));
        }
        QCOMPARE(shown, messages);
    }

    // Keys that cannot be sent are told; malformed ones are not even handed to the sender.
    void refusedKeystrokes_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("error");
        QTest::newRow("sender fails") << "save"
                                      << "No X display" << QStringList{"Ctrl+s"} << "No X display";
        QTest::newRow("malformed keys") << "broken" << QString() << QStringList{}
                                        << "Bad keystrokes: unknown key name in {FOO}";
    }

    void refusedKeystrokes()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, failure);
        QFETCH(QStringList, sent);
        QFETCH(QString, error);
        m_desktop->windows.setForeground(kEditor);
        m_desktop->keys.setFailure(failure);
        CApp app(m_dir->path(), m_desktop->services());
        QCOMPARE(say(app, phrase), qint16(0));
        QCOMPARE(m_desktop->keys.texts(), sent);
        QVERIFY2(app.lastKeystrokeError().startsWith(error), qPrintable(app.lastKeystrokeError()));
    }
};

QTEST_GUILESS_MAIN(TestDispatch)
#include "tst_dispatch.moc"
