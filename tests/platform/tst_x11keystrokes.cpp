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

KeyStroke character(char32_t c, unsigned modifiers = KeyStroke::NoModifier)
{
    return {c, NamedKey::NoKey, modifiers};
}

KeyStroke named(NamedKey key, unsigned modifiers = KeyStroke::NoModifier)
{
    return {0, key, modifiers};
}

// Each character an action of its own, without modifiers.
QList<KeyAction> typed(const QString &text)
{
    QList<KeyAction> actions;
    for (const uint c : text.toUcs4())
        actions.append(KeyAction{{character(c)}});
    return actions;
}

// Each key an action of its own, without modifiers.
QList<KeyAction> pressed(const QList<NamedKey> &keys)
{
    QList<KeyAction> actions;
    for (const NamedKey key : keys)
        actions.append(KeyAction{{named(key)}});
    return actions;
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
        QTest::addColumn<QList<KeyAction>>("actions");
        QTest::addColumn<QStringList>("expected");
        const unsigned shift = KeyStroke::Shift, ctrl = KeyStroke::Ctrl, alt = KeyStroke::Alt;

        QTest::newRow("ctrl") << QList<KeyAction>{{{character('a', ctrl)}}}
                              << QStringList{"Ctrl+A\t"};
        QTest::newRow("alt released between actions")
            << QList<KeyAction>{{{character('f', alt)}}, {{character('o')}}}
            << QStringList{"Alt+F\tf", "O\to"};
        QTest::newRow("shift held through an action")
            << QList<KeyAction>{{{character('a', shift), character('b', shift),
                                  character('c', shift)}},
                                {{character('d')}}}
            << QStringList{"Shift+A\tA", "Shift+B\tB", "Shift+C\tC", "D\td"};
        QTest::newRow("two modifiers and a named key")
            << QList<KeyAction>{{{named(NamedKey::End, ctrl | shift)}}}
            << QStringList{"Ctrl+Shift+End\t"};
        QTest::newRow("ctrl alt") << QList<KeyAction>{{{named(NamedKey::Delete, ctrl | alt)}}}
                                  << QStringList{"Ctrl+Alt+Del\t"};
        QTest::newRow("text with upper case and punctuation")
            << typed("Hi, you! a_b; [x] 1=3?")
            << QStringList{
                   "Shift+H\tH", "I\ti",       ",\t,",     "Space\t ",  "Y\ty",       "O\to",
                   "U\tu",       "Shift+!\t!", "Space\t ", "A\ta",      "Shift+_\t_", "B\tb",
                   ";\t;",       "Space\t ",   "[\t[",     "X\tx",      "]\t]",       "Space\t ",
                   "1\t1",       "=\t=",       "3\t3",     "Shift+?\t?"};
        QTest::newRow("upper and lower case in one action")
            << QList<KeyAction>{{{character('A'), character('b'), character('C')}}}
            << QStringList{"Shift+A\tA", "B\tb", "Shift+C\tC"};
        QTest::newRow("shift on a digit")
            << QList<KeyAction>{{{character('1', shift)}}} << QStringList{"Shift+!\t!"};
        QTest::newRow("characters the notation reserves")
            << typed("+^%~(){}")
            << QStringList{"Shift++\t+", "Shift+^\t^", "Shift+%\t%", "Shift+~\t~",
                           "(\t(",       ")\t)",       "Shift+{\t{", "Shift+}\t}"};
        QTest::newRow("named keys")
            << pressed({NamedKey::Enter, NamedKey::Tab, NamedKey::Backspace, NamedKey::Escape,
                        NamedKey::Insert, NamedKey::Home, NamedKey::PageUp, NamedKey::PageDown,
                        NamedKey::Up, NamedKey::Down, NamedKey::Left, NamedKey::Right, NamedKey::F1,
                        NamedKey::F5, NamedKey::F12})
            << QStringList{"Return\t", "Tab\t",   "Backspace\t", "Esc\t", "Ins\t",
                           "Home\t",   "PgUp\t",  "PgDown\t",    "Up\t",  "Down\t",
                           "Left\t",   "Right\t", "F1\t",        "F5\t",  "F12\t"};
        QTest::newRow("keypad operators")
            << pressed({NamedKey::Add, NamedKey::Subtract, NamedKey::Multiply, NamedKey::Divide})
            << QStringList{"Num++\t+", "Num+-\t-", "Num+*\t*", "Num+/\t/"};
        QTest::newRow("character absent from the keymap") << typed("é") << plain("é");
        QTest::newRow("absent characters mixed and repeated") << typed("ñé€xñ€") << plain("ñé€xñ€");
        QTest::newRow("function key absent from the keymap")
            << pressed({NamedKey::F16, NamedKey::F5}) << QStringList{"F16\t", "F5\t"};
        QTest::newRow("long text") << typed(QString(60, 'q')) << plain(QString(60, 'q'));
    }

    void deliversKeys()
    {
        QFETCH(QList<KeyAction>, actions);
        QFETCH(QStringList, expected);
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
            QVERIFY2(m_sender->send(typed(chunk), &error), qPrintable(error));
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
        QVERIFY(!m_sender->send(typed(many), &error));
        QVERIFY2(error.contains("no free keycode"), qPrintable(error));
        // Whatever had been typed would be logged before this key.
        QVERIFY2(m_sender->send(typed("z"), &error), qPrintable(error));
        QCOMPARE(logged(), plain("z"));
    }

    void followsTheLayout_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("keys");
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
        QFETCH(QString, keys);
        QFETCH(QStringList, expected);
        const QString setxkbmap = QStandardPaths::findExecutable("setxkbmap");
        QVERIFY2(!setxkbmap.isEmpty(), "setxkbmap is missing: install the package x11-xkb-utils");
        QProcess process;
        process.start(setxkbmap, {"-display", m_session->displayName(), "-layout", layout});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 0);
        QString error;
        QVERIFY2(m_sender->send(typed(keys), &error), qPrintable(error));
        QCOMPARE(logged(), expected);
    }

    void failsWithoutDisplay()
    {
        X11Connection nowhere(":4711");
        X11KeystrokeSender sender(nowhere);
        QString error;
        QVERIFY(!sender.send({{{character('a', KeyStroke::Ctrl)}}}, &error));
        QVERIFY(!nowhere.reason().isEmpty());
        QVERIFY2(error.contains(nowhere.reason()), qPrintable(error));
        QVERIFY(logged().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestX11Keystrokes)
#include "tst_x11keystrokes.moc"
