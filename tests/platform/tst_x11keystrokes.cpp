#include "platform/KeystrokeParser.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "support/XvfbSession.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// The actions the keystroke notation gives for text.
QList<KeyAction> keys(const QString &notation)
{
    return KeystrokeParser::parse(notation).actions;
}

// What the target logs for a key that types its character without Shift: the key in upper case,
// then the character.
QStringList plain(const QString &text)
{
    QStringList lines;
    for (const uint c : text.toUcs4()) {
        const QString typed = QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
        lines << typed.toUpper() + '\t' + typed;
    }
    return lines;
}

} // namespace

class TestX11Keystrokes : public QObject
{
    Q_OBJECT

private:
    bool clearLog()
    {
        // The target appends, so emptying the file in place starts a fresh log.
        QFile log(m_logPath);
        return log.open(QIODevice::ReadWrite) && log.resize(0);
    }
    QStringList logged() const { return XvfbSession::keysLogged(m_logPath); }

    QTemporaryDir m_dir;
    QString m_logPath;
    std::unique_ptr<XvfbSession> m_session;
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<X11KeystrokeSender> m_sender;
    quint64 m_target = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_logPath = m_dir.filePath("keys.log");
        m_session = std::make_unique<XvfbSession>();
        QString error;
        QVERIFY2(m_session->start(&error), qPrintable(error));
        QVERIFY2(m_session->startTarget("JevKeyTarget", "Key target", m_logPath, {}, &error),
                 qPrintable(error));
        m_target = m_session->windowWithTitle("Key target");
        QVERIFY(m_target);
        QTRY_COMPARE(m_session->activeWindow(), m_target);
        m_connection = std::make_unique<X11Connection>(m_session->displayName());
        QVERIFY2(m_connection->display(), qPrintable(m_connection->reason()));
        m_sender = std::make_unique<X11KeystrokeSender>(*m_connection);
    }

    void init() { QVERIFY(clearLog()); }

    void cleanupTestCase()
    {
        m_sender.reset();
        m_connection.reset();
        m_session.reset();
    }

    void deliversKeys_data()
    {
        QTest::addColumn<QString>("notation");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *name, const QString &notation,
                            const QStringList &expected) {
            QTest::newRow(name) << notation << expected;
        };
        row("ctrl", "^a", {"Ctrl+A\t"});
        row("alt released between actions", "%fo", {"Alt+F\tf", "O\to"});
        row("shift held through an action", "+(abc)d",
            {"Shift+A\tA", "Shift+B\tB", "Shift+C\tC", "D\td"});
        row("two modifiers and a named key", "^+{END}", {"Ctrl+Shift+End\t"});
        row("ctrl alt", "^%{DEL}", {"Ctrl+Alt+Del\t"});
        row("text with upper case and punctuation", "Hi, you! a_b; [x] 1=3?",
            {"Shift+H\tH", "I\ti",       ",\t,",     "Space\t ",  "Y\ty",       "O\to",
             "U\tu",       "Shift+!\t!", "Space\t ", "A\ta",      "Shift+_\t_", "B\tb",
             ";\t;",       "Space\t ",   "[\t[",     "X\tx",      "]\t]",       "Space\t ",
             "1\t1",       "=\t=",       "3\t3",     "Shift+?\t?"});
        row("upper and lower case in one action", "(AbC)", {"Shift+A\tA", "B\tb", "Shift+C\tC"});
        row("shift on a digit", "+1", {"Shift+!\t!"});
        row("characters the notation reserves", "{+}{^}{%}{~}{(}{)}{{}{}}",
            {"Shift++\t+", "Shift+^\t^", "Shift+%\t%", "Shift+~\t~", "(\t(", ")\t)", "Shift+{\t{",
             "Shift+}\t}"});
        row("named keys",
            "{ENTER}{TAB}{BS}{ESC}{INS}{HOME}{PGUP}{PGDN}{UP}{DOWN}{LEFT}{RIGHT}{F1}{F5}{F12}",
            {"Return\t", "Tab\t", "Backspace\t", "Esc\t", "Ins\t", "Home\t", "PgUp\t", "PgDown\t",
             "Up\t", "Down\t", "Left\t", "Right\t", "F1\t", "F5\t", "F12\t"});
        row("keypad operators", "{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}",
            {"Num++\t+", "Num+-\t-", "Num+*\t*", "Num+/\t/"});
        row("character absent from the keymap", "é", plain("é"));
        row("absent characters mixed and repeated", "ñé€xñ€", plain("ñé€xñ€"));
        row("function key absent from the keymap", "{F16}{F5}", {"F16\t", "F5\t"});
        row("long text", QString(60, 'q'), plain(QString(60, 'q')));
    }

    void deliversKeys()
    {
        QFETCH(QString, notation);
        QFETCH(QStringList, expected);
        const QList<KeyAction> actions = keys(notation);
        QVERIFY(!actions.isEmpty());
        QString error;
        QVERIFY2(m_sender->send(actions, &error), qPrintable(error));
        // No waiting here: send returns once the target has handled every key.
        QCOMPARE(logged(), expected);
    }

    void rebindsSpareKeycodes()
    {
        // More different characters than the keymap has spare keycodes, a few at a time: the oldest
        // bindings are taken back, and never while a key typed through them is on its way.
        QString all;
        for (char32_t c = 0x4e00; c < 0x4e00 + 300; ++c)
            all += QString::fromUcs4(&c, 1);
        for (qsizetype at = 0; at < all.size(); at += 10) {
            const QString chunk = all.mid(at, 10);
            QVERIFY(clearLog());
            QString error;
            QVERIFY2(m_sender->send(keys(chunk), &error), qPrintable(error));
            QCOMPARE(logged(), plain(chunk));
        }
    }

    void sendsNothingUnlessWhole()
    {
        // More different characters missing from the keymap than it has spare keycodes: none is
        // typed.
        QString many;
        for (char32_t c = 0x5000; c < 0x5000 + 300; ++c)
            many += QString::fromUcs4(&c, 1);
        QString error;
        QVERIFY(!m_sender->send(keys(many), &error));
        QVERIFY2(error.contains("no free keycode"), qPrintable(error));
        // Whatever had been typed would be logged before this key.
        QVERIFY2(m_sender->send(keys("z"), &error), qPrintable(error));
        QCOMPARE(logged(), plain("z"));
    }

    void followsTheLayout_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        // German: y and z swap places, "@" needs AltGr (so it goes through a spare keycode), "ä"
        // has a key of its own.
        QTest::newRow("de") << "de"
                            << "yz@äA" << QStringList{"Y\ty", "Z\tz", "@\t@", "Ä\tä", "Shift+A\tA"};
        // French: letters and digits on other keys, digits with Shift.
        QTest::newRow("fr") << "fr"
                            << "aqm1;" << QStringList{"A\ta", "Q\tq", "M\tm", "Shift+1\t1", ";\t;"};
        QTest::newRow("us again") << "us"
                                  << "yz@" << QStringList{"Y\ty", "Z\tz", "Shift+@\t@"};
    }

    void followsTheLayout()
    {
        QFETCH(QString, layout);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const QString setxkbmap = QStandardPaths::findExecutable("setxkbmap");
        QVERIFY2(!setxkbmap.isEmpty(), "setxkbmap is missing: install the package x11-xkb-utils");
        QProcess process;
        process.start(setxkbmap, {"-display", m_session->displayName(), "-layout", layout});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 0);
        QString error;
        QVERIFY2(m_sender->send(keys(text), &error), qPrintable(error));
        QCOMPARE(logged(), expected);
    }

    void failsWithoutDisplay()
    {
        X11Connection nowhere(":4711");
        X11KeystrokeSender sender(nowhere);
        QString error;
        QVERIFY(!sender.send(keys("^a"), &error));
        QVERIFY(!nowhere.reason().isEmpty());
        QVERIFY2(error.contains(nowhere.reason()), qPrintable(error));
        QVERIFY(logged().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestX11Keystrokes)
#include "tst_x11keystrokes.moc"
