#include "platform/KeystrokeParser.h"
#include "platform/fake/KeyActionText.h"

#include <QTest>

namespace {

void row(const char *name, const QString &text, const QString &expected)
{
    QTest::newRow(name) << text << expected;
}

} // namespace

class TestKeystrokeParser : public QObject
{
    Q_OBJECT

private slots:
    // strokes: see keyActionText.
    void parsesNotation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("strokes");
        row("empty", "", "");
        row("plain text", "Hi, you.", "H | i | , |   | y | o | u | .");
        row("ctrl", "^a", "Ctrl+a");
        row("alt applies to the next key only", "%fo", "Alt+f | o");
        row("same modifier twice is two chords", "%f%o", "Alt+f | Alt+o");
        row("all three", "+^%x", "Shift+Ctrl+Alt+x");
        row("group", "+(abc)d", "Shift+a Shift+b Shift+c | d");
        row("modifier inside a group adds to the group's", "+(a^b)c", "Shift+a Shift+Ctrl+b | c");
        row("groups nested as deep as allowed", QString(32, '(') + "a" + QString(32, ')'), "a");
        row("tilde", "ab~", "a | b | <Enter>");
        row("names ignore case", "{enter}{Pgdn}{f10}", "<Enter> | <PageDown> | <F10>");
        row("repeat of a character", "{a 3}", "a a a");
        row("modifier holds over a repeat", "+{TAB 2}", "Shift+<Tab> Shift+<Tab>");
        row("repeat zero", "x{a 0}y", "x | y");
        row("highest repeat", QString("{b %1}").arg(KeystrokeParser::maxRepeat),
            QStringList(KeystrokeParser::maxRepeat, "b").join(' '));
        row("literal specials", "{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}",
            "+ | ^ | % | ~ | ( | ) | { | } | [ | ]");
        row("modified literal", "^{+}", "Ctrl++");
        row("repeat of a brace", "{} 2}", "} }");
        row("brackets and colons are plain", "a:[b]", "a | : | [ | b | ]");
        row("non-ASCII", "é€😀", "é | € | 😀");
        row("braced non-BMP", "{😀 2}", "😀 😀");
        row("tab and newline characters", "a\tb\n", "a | <Tab> | b | <Enter>");
        row("every name",
            "{ENTER}{TAB}{ESC}{BS}{BACKSPACE}{BKSP}{DEL}{DELETE}{INS}{INSERT}{HOME}{END}{PGUP}"
            "{PGDN}{UP}{DOWN}{LEFT}{RIGHT}{F1}{F16}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{BREAK}{PRTSC}"
            "{HELP}{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}",
            "<Enter> | <Tab> | <Esc> | <Backspace> | <Backspace> | <Backspace> | <Delete> | "
            "<Delete> | <Insert> | <Insert> | <Home> | <End> | <PageUp> | <PageDown> | <Up> | "
            "<Down> | <Left> | <Right> | <F1> | <F16> | <CapsLock> | <NumLock> | <ScrollLock> | "
            "<Break> | <PrintScreen> | <Help> | <Add> | <Subtract> | <Multiply> | <Divide>");
    }

    void parsesNotation()
    {
        QFETCH(QString, text);
        QFETCH(QString, strokes);
        const KeystrokeParser::Result result = KeystrokeParser::parse(text);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(keyActionText(result.actions), strokes);
    }

    void rejectsMalformedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        row("unknown name", "ab{FOO}", "unknown key name in {FOO}");
        row("F17 does not exist", "{F17}", "unknown key name in {F17}");
        row("open brace", "ab{ENTER", "\"{\" without \"}\"");
        row("lone open brace", "x{", "\"{\" without \"}\"");
        row("close brace", "ENTER}", "\"}\" without \"{\"");
        row("open parenthesis", "+(abc", "\"(\" without \")\"");
        row("close parenthesis", "abc)", "\")\" without \"(\"");
        row("modifiers at the end", "a+%", "\"+%\" has no key after it");
        row("modifier before close", "(a+)", "\"+\" has no key after it");
        row("count not a number", "{a x}", "bad repeat count in {a x}");
        row("negative count", "{LEFT -1}", "bad repeat count in {LEFT -1}");
        const QString tooHigh = QString("{a %1}").arg(KeystrokeParser::maxRepeat + 1);
        row("count too high", tooHigh, "bad repeat count in " + tooHigh);
        row("control character", "a\x01", "character U+0001 cannot be typed");
        row("groups nested too deep", QString(33, '(') + "a" + QString(33, ')'),
            "groups nested more than 32 deep");
        // Deep enough to overflow the stack if each level were read by recursion.
        row("thousands of groups", QString(100000, '('), "groups nested more than 32 deep");
    }

    // Nothing of a malformed text is typed.
    void rejectsMalformedText()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        const KeystrokeParser::Result result = KeystrokeParser::parse(text);
        QVERIFY2(result.error.contains(message), qPrintable(result.error));
        QVERIFY(result.actions.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestKeystrokeParser)
#include "tst_keystrokeparser.moc"
