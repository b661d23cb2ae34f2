#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "support/XvfbSession.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class TestX11Keystrokes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void deliversKeys_data();
    void deliversKeys();
    void rebindsSpareKeycodes();
    void sendsNothingForBadText_data();
    void sendsNothingForBadText();
    void failsWithoutDisplay();
    void followsTheLayout_data();
    void followsTheLayout();

private:
    bool clearLog();
    QStringList logged() const { return XvfbSession::keysLogged(m_logPath); }

    QTemporaryDir m_dir;
    QString m_logPath;
    std::unique_ptr<XvfbSession> m_session;
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<X11KeystrokeSender> m_sender;
    quint64 m_target = 0;
};

void TestX11Keystrokes::initTestCase()
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

void TestX11Keystrokes::init()
{
    QVERIFY(clearLog());
}

void TestX11Keystrokes::cleanupTestCase()
{
    m_sender.reset();
    m_connection.reset();
    m_session.reset();
}

bool TestX11Keystrokes::clearLog()
{
    // The target appends, so emptying the file in place starts a fresh log.
    QFile log(m_logPath);
    return log.open(QIODevice::ReadWrite) && log.resize(0);
}

namespace {

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

void TestX11Keystrokes::deliversKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("ctrl") << "^a" << QStringList{"Ctrl+A\t"};
    QTest::newRow("alt for one key") << "%fo" << QStringList{"Alt+F\tf", "O\to"};
    QTest::newRow("shift group") << "+(abc)d"
                                 << QStringList{"Shift+A\tA", "Shift+B\tB", "Shift+C\tC", "D\td"};
    QTest::newRow("enter") << "{ENTER}" << QStringList{"Return\t"};
    QTest::newRow("tilde") << "a~" << QStringList{"A\ta", "Return\t"};
    QTest::newRow("function key") << "{F5}" << QStringList{"F5\t"};
    QTest::newRow("two modifiers and a named key") << "^+{END}" << QStringList{"Ctrl+Shift+End\t"};
    QTest::newRow("ctrl alt") << "^%{DEL}" << QStringList{"Ctrl+Alt+Del\t"};
    QTest::newRow("text with upper case and punctuation")
        << "Hi, you! a_b; [x] 1=3?"
        << QStringList{"Shift+H\tH", "I\ti",     ",\t,", "Space\t ",   "Y\ty", "O\to", "U\tu",
                       "Shift+!\t!", "Space\t ", "A\ta", "Shift+_\t_", "B\tb", ";\t;", "Space\t ",
                       "[\t[",       "X\tx",     "]\t]", "Space\t ",   "1\t1", "=\t=", "3\t3",
                       "Shift+?\t?"};
    QTest::newRow("upper case inside a group") << "(aB)" << QStringList{"A\ta", "Shift+B\tB"};
    QTest::newRow("shift on a digit") << "+1" << QStringList{"Shift+!\t!"};
    QTest::newRow("repeat") << "{a 3}" << plain("aaa");
    QTest::newRow("literal specials")
        << "{+}{^}{%}{~}{(}{)}{{}{}}"
        << QStringList{"Shift++\t+", "Shift+^\t^", "Shift+%\t%", "Shift+~\t~",
                       "(\t(",       ")\t)",       "Shift+{\t{", "Shift+}\t}"};
    QTest::newRow("named keys")
        << "{TAB}{BS}{ESC}{INS}{HOME}{PGUP}{PGDN}{UP}{DOWN}{LEFT}{RIGHT}{F1}{F12}"
        << QStringList{"Tab\t", "Backspace\t", "Esc\t",  "Ins\t",   "Home\t", "PgUp\t", "PgDown\t",
                       "Up\t",  "Down\t",      "Left\t", "Right\t", "F1\t",   "F12\t"};
    QTest::newRow("keypad operators")
        << "{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}"
        << QStringList{"Num++\t+", "Num+-\t-", "Num+*\t*", "Num+/\t/"};
    QTest::newRow("character absent from the keymap") << "é" << plain("é");
    QTest::newRow("absent characters mixed and repeated") << "ñé€xñ€" << plain("ñé€xñ€");
    QTest::newRow("function key absent from the keymap")
        << "{F16}{F5}" << QStringList{"F16\t", "F5\t"};
    QTest::newRow("long text") << QString(60, 'q') << plain(QString(60, 'q'));
}

void TestX11Keystrokes::deliversKeys()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, expected);
    QString error;
    QVERIFY2(m_sender->sendKeys(keys, &error), qPrintable(error));
    // No waiting here: sendKeys returns once the target has handled every key.
    QCOMPARE(logged(), expected);
}

void TestX11Keystrokes::rebindsSpareKeycodes()
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
        QVERIFY2(m_sender->sendKeys(chunk, &error), qPrintable(error));
        QCOMPARE(logged(), plain(chunk));
    }
}

void TestX11Keystrokes::sendsNothingForBadText_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown key name") << "ab{FOO}"
                                      << "unknown key name in {FOO}";
    QTest::newRow("open brace") << "ab{ENTER"
                                << "\"{\" without \"}\"";
    QTest::newRow("close brace") << "ab}"
                                 << "\"}\" without \"{\"";
    QTest::newRow("open parenthesis") << "+(abc"
                                      << "\"(\" without \")\"";
    QTest::newRow("modifier at the end") << "abc^"
                                         << "\"^\" has no key after it";
    QTest::newRow("repeat too high") << "x{a 5000}"
                                     << "bad repeat count in {a 5000}";
}

void TestX11Keystrokes::sendsNothingForBadText()
{
    QFETCH(QString, keys);
    QFETCH(QString, message);
    QString error;
    QVERIFY(!m_sender->sendKeys(keys, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    // Whatever had been typed would be logged before this key.
    QVERIFY2(m_sender->sendKeys("z", &error), qPrintable(error));
    QCOMPARE(logged(), plain("z"));
}

void TestX11Keystrokes::followsTheLayout_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("expected");

    // German: y and z swap places, "@" needs AltGr (so it goes through a spare keycode), "ä" has
    // a key of its own.
    QTest::newRow("de") << "de"
                        << "yz@äA" << QStringList{"Y\ty", "Z\tz", "@\t@", "Ä\tä", "Shift+A\tA"};
    // French: letters and digits on other keys, digits with Shift.
    QTest::newRow("fr") << "fr"
                        << "aqm1;" << QStringList{"A\ta", "Q\tq", "M\tm", "Shift+1\t1", ";\t;"};
    QTest::newRow("us again") << "us"
                              << "yz@" << QStringList{"Y\ty", "Z\tz", "Shift+@\t@"};
}

void TestX11Keystrokes::followsTheLayout()
{
    QFETCH(QString, layout);
    QFETCH(QString, keys);
    QFETCH(QStringList, expected);
    const QString setxkbmap = QStandardPaths::findExecutable("setxkbmap");
    QVERIFY2(!setxkbmap.isEmpty(), "setxkbmap is missing: install the package x11-xkb-utils");
    QProcess process;
    process.start(setxkbmap, {"-display", m_session->displayName(), "-layout", layout});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
    QString error;
    QVERIFY2(m_sender->sendKeys(keys, &error), qPrintable(error));
    QCOMPARE(logged(), expected);
}

void TestX11Keystrokes::failsWithoutDisplay()
{
    X11Connection nowhere(":4711");
    X11KeystrokeSender sender(nowhere);
    QString error;
    QVERIFY(!sender.sendKeys("^a", &error));
    QVERIFY(!nowhere.reason().isEmpty());
    QVERIFY2(error.contains(nowhere.reason()), qPrintable(error));
    QVERIFY(logged().isEmpty());
}

QTEST_GUILESS_MAIN(TestX11Keystrokes)
#include "tst_x11keystrokes.moc"
