#include "platform/x11/X11GlobalShortcut.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/OnXvfb.h"
#include "speech/frmJev.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// Presses and releases keys through XTest, as a keyboard would, on a connection of the test's.
class Keyboard
{
public:
    Keyboard() : m_display(XOpenDisplay(nullptr)) {}
    ~Keyboard()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    Display *display() const { return m_display; }

    void chord(const QList<KeySym> &keys)
    {
        for (const KeySym key : keys)
            send(key, true);
        for (auto it = keys.rbegin(); it != keys.rend(); ++it)
            send(*it, false);
        XSync(m_display, False);
    }

private:
    void send(KeySym key, bool down)
    {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, key), down, CurrentTime);
    }

    Display *m_display;
};

const QList<KeySym> kCtrlAltSpace{XK_Control_L, XK_Alt_L, XK_space};

} // namespace

// The listening key on a real X server: it reaches the program while another window has the
// focus, whatever the lock keys, and it is refused when another program holds it.
class TestGlobalKey : public QObject
{
    Q_OBJECT

private:
    XvfbSession &m_session;
    QTemporaryDir m_dir;

public:
    explicit TestGlobalKey(XvfbSession &session) : m_session(session) {}

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath("cfg"));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<uint>("modifiers");
        QTest::addColumn<qulonglong>("keysym");
        QTest::newRow("the default")
            << "Ctrl+Alt+Space" << uint(ControlMask | Mod1Mask) << qulonglong(XK_space);
        QTest::newRow("a function key") << "Meta+F9" << uint(Mod4Mask) << qulonglong(XK_F9);
        QTest::newRow("Qt's name of a key")
            << "Shift+PgDown" << uint(ShiftMask) << qulonglong(XK_Next);
        QTest::newRow("a letter") << "Ctrl+Alt+J" << uint(ControlMask | Mod1Mask)
                                  << qulonglong(XK_J);
        QTest::newRow("the plus key") << "Ctrl++" << uint(ControlMask) << qulonglong(XK_plus);
        QTest::newRow("no such key") << "Ctrl+Alt+Nokey" << 0u << 0ull;
        QTest::newRow("no such modifier") << "Hyper+J" << 0u << 0ull;
        QTest::newRow("modifiers alone") << "Ctrl+Alt+" << 0u << 0ull;
        QTest::newRow("nothing") << "" << 0u << 0ull;
    }

    void parse()
    {
        QFETCH(QString, keys);
        QFETCH(uint, modifiers);
        QFETCH(qulonglong, keysym);
        const auto parsed = X11GlobalShortcut::parse(keys);
        QCOMPARE(parsed.has_value(), keysym != 0);
        if (parsed) {
            QCOMPARE(parsed->modifiers, modifiers);
            QCOMPARE(qulonglong(parsed->keysym), keysym);
        }
    }

    void togglesListeningWhileAnotherWindowHasTheFocus_data()
    {
        QTest::addColumn<KeySym>("lock");
        QTest::newRow("no lock key") << KeySym(NoSymbol);
        QTest::newRow("Num Lock on") << KeySym(XK_Num_Lock);
        QTest::newRow("Caps Lock on") << KeySym(XK_Caps_Lock);
    }

    void togglesListeningWhileAnotherWindowHasTheFocus()
    {
        QFETCH(KeySym, lock);
        RecordFileBytes::write(m_dir.filePath("data/VAppCmd.txt"),
                               RecordFileBytes::file({"JevTarget \xA6 Target*target~E$x"}, 270));
        FakeDesktop desktop;
        FakeRecognizer recognizer;
        X11GlobalShortcut key;
        frmJev window(m_dir.filePath("data"), desktop.services(), recognizer, &key);
        window.load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.startupProblems().isEmpty());
        QVERIFY(recognizer.isActive());

        const QString log = m_dir.filePath(QString("target-%1.log").arg(lock));
        QString error;
        const QString title = QString("Target %1").arg(QTest::currentDataTag());
        QVERIFY2(m_session.startTarget("JevTarget", title, log, {}, &error), qPrintable(error));
        const quint64 target = m_session.windowWithTitle(title);
        QTRY_COMPARE(m_session.activeWindow(), target);

        Keyboard keyboard;
        if (lock != NoSymbol)
            keyboard.chord({lock});
        keyboard.chord(kCtrlAltSpace);
        QTRY_VERIFY(!recognizer.isActive());
        QVERIFY(window.meterToggle());
        keyboard.chord(kCtrlAltSpace);
        QTRY_VERIFY(recognizer.isActive());
        if (lock != NoSymbol)
            keyboard.chord({lock});
        // The focus stayed where it was, and the key went to the program, not to the target.
        QCOMPARE(m_session.activeWindow(), target);
        keyboard.chord({XK_x});
        QTRY_VERIFY(XvfbSession::keysLogged(log).contains("X\tx"));
        for (const QString &line : XvfbSession::keysLogged(log))
            QVERIFY2(!line.contains("Space"), qPrintable(line));
    }

    void heldByAnotherProgram()
    {
        Keyboard other;
        Display *d = other.display();
        const int keycode = XKeysymToKeycode(d, XK_F8);
        XGrabKey(d, keycode, ControlMask | Mod1Mask, DefaultRootWindow(d), False, GrabModeAsync,
                 GrabModeAsync);
        XSync(d, False);
        X11GlobalShortcut key;
        QString error;
        QVERIFY(!key.grab(
            "Ctrl+Alt+F8", [] {}, &error));
        QCOMPARE(error, QString("Another program already uses Ctrl+Alt+F8. Close it or choose "
                                "another listening key in the sound meter window."));
        XUngrabKey(d, keycode, ControlMask | Mod1Mask, DefaultRootWindow(d));
        XSync(d, False);
        QVERIFY2(key.grab(
                     "Ctrl+Alt+F8", [] {}, &error),
                 qPrintable(error));
        QVERIFY(!key.grab(
            "Ctrl+Alt+Nokey", [] {}, &error));
        QCOMPARE(error, QString("\"Ctrl+Alt+Nokey\" is no key combination: write it like "
                                "Ctrl+Alt+Space."));
    }
};

int main(int argc, char *argv[])
{
    return runOnXvfb<TestGlobalKey>(argc, argv);
}

#include "tst_globalkey.moc"
