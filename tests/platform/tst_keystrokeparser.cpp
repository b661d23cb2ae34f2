#include "platform/KeystrokeParser.h"
#include "platform/fake/KeyActionText.h"

#include <QTest>

class TestKeystrokeParser : public QObject
{
    Q_OBJECT

private slots:
    void parsesNotation_data();
    void parsesNotation();
    void rejectsMalformedText_data();
    void rejectsMalformedText();
};

void TestKeystrokeParser::parsesNotation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("strokes");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("plain text") << "Hi, you."
                                << "H | i | , |   | y | o | u | .";
    QTest::newRow("ctrl") << "^a"
                          << "Ctrl+a";
    QTest::newRow("alt applies to the next key only") << "%fo"
                                                      << "Alt+f | o";
    QTest::newRow("same modifier twice is two chords") << "%f%o"
                                                       << "Alt+f | Alt+o";
    QTest::newRow("modifiers combine") << "^+a"
                                       << "Shift+Ctrl+a";
    QTest::newRow("all three") << "+^%x"
                               << "Shift+Ctrl+Alt+x";
    QTest::newRow("group") << "+(abc)d"
                           << "Shift+a Shift+b Shift+c | d";
    QTest::newRow("group without modifier") << "(ab)"
                                            << "a b";
    QTest::newRow("modifier inside a group adds to the group's") << "+(a^b)c"
                                                                 << "Shift+a Shift+Ctrl+b | c";
    QTest::newRow("nested groups") << "^(a%(bc))"
                                   << "Ctrl+a Ctrl+Alt+b Ctrl+Alt+c";
    QTest::newRow("empty group") << "a()b"
                                 << "a | b";
    QTest::newRow("tilde") << "ab~"
                           << "a | b | <Enter>";
    QTest::newRow("modified tilde") << "+~"
                                    << "Shift+<Enter>";
    QTest::newRow("named key") << "{F5}"
                               << "<F5>";
    QTest::newRow("named key with modifiers") << "^+{END}"
                                              << "Shift+Ctrl+<End>";
    QTest::newRow("names ignore case") << "{enter}{Pgdn}{f10}"
                                       << "<Enter> | <PageDown> | <F10>";
    QTest::newRow("repeat of a named key") << "{LEFT 3}"
                                           << "<Left> <Left> <Left>";
    QTest::newRow("repeat of a character") << "{a 3}"
                                           << "a a a";
    QTest::newRow("modifier holds over a repeat") << "+{TAB 2}"
                                                  << "Shift+<Tab> Shift+<Tab>";
    QTest::newRow("repeat zero") << "x{a 0}y"
                                 << "x | y";
    QTest::newRow("highest repeat") << QString("{b %1}").arg(KeystrokeParser::maxRepeat)
                                    << QStringList(KeystrokeParser::maxRepeat, "b").join(' ');
    QTest::newRow("literal specials") << "{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}"
                                      << "+ | ^ | % | ~ | ( | ) | { | } | [ | ]";
    QTest::newRow("modified literal") << "^{+}"
                                      << "Ctrl++";
    QTest::newRow("repeat of a brace") << "{} 2}"
                                       << "} }";
    QTest::newRow("brackets and colons are plain") << "a:[b]"
                                                   << "a | : | [ | b | ]";
    QTest::newRow("non-ASCII") << "é€😀"
                               << "é | € | 😀";
    QTest::newRow("braced non-BMP") << "{😀 2}"
                                    << "😀 😀";
    QTest::newRow("tab and newline characters") << "a\tb\n"
                                                << "a | <Tab> | b | <Enter>";
    QTest::newRow("every name")
        << "{ENTER}{TAB}{ESC}{BS}{BACKSPACE}{BKSP}{DEL}{DELETE}{INS}{INSERT}{HOME}{END}{PGUP}"
           "{PGDN}{UP}{DOWN}{LEFT}{RIGHT}{F1}{F16}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{BREAK}{PRTSC}"
           "{HELP}{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}"
        << "<Enter> | <Tab> | <Esc> | <Backspace> | <Backspace> | <Backspace> | <Delete> | "
           "<Delete> | <Insert> | <Insert> | <Home> | <End> | <PageUp> | <PageDown> | <Up> | "
           "<Down> | <Left> | <Right> | <F1> | <F16> | <CapsLock> | <NumLock> | <ScrollLock> | "
           "<Break> | <PrintScreen> | <Help> | <Add> | <Subtract> | <Multiply> | <Divide>";
}

void TestKeystrokeParser::parsesNotation()
{
    QFETCH(QString, text);
    QFETCH(QString, strokes);
    const KeystrokeParser::Result result = KeystrokeParser::parse(text);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(keyActionText(result.actions), strokes);
}

void TestKeystrokeParser::rejectsMalformedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown name") << "ab{FOO}"
                                  << "unknown key name in {FOO}";
    QTest::newRow("F17 does not exist") << "{F17}"
                                        << "unknown key name in {F17}";
    QTest::newRow("open brace") << "ab{ENTER"
                                << "\"{\" without \"}\"";
    QTest::newRow("lone open brace") << "x{"
                                     << "\"{\" without \"}\"";
    QTest::newRow("empty braces") << "{}"
                                  << "\"{\" without \"}\"";
    QTest::newRow("close brace") << "ENTER}"
                                 << "\"}\" without \"{\"";
    QTest::newRow("extra close brace") << "{ENTER}}"
                                       << "\"}\" without \"{\"";
    QTest::newRow("open parenthesis") << "+(abc"
                                      << "\"(\" without \")\"";
    QTest::newRow("nested open parenthesis") << "((a)"
                                             << "\"(\" without \")\"";
    QTest::newRow("close parenthesis") << "abc)"
                                       << "\")\" without \"(\"";
    QTest::newRow("modifier at the end") << "abc^"
                                         << "\"^\" has no key after it";
    QTest::newRow("modifiers at the end") << "a+%"
                                          << "\"+%\" has no key after it";
    QTest::newRow("modifier before close") << "(a+)"
                                           << "\"+\" has no key after it";
    QTest::newRow("count not a number") << "{a x}"
                                        << "bad repeat count in {a x}";
    QTest::newRow("negative count") << "{LEFT -1}"
                                    << "bad repeat count in {LEFT -1}";
    QTest::newRow("empty count") << "{LEFT }"
                                 << "bad repeat count in {LEFT }";
    QTest::newRow("count too high")
        << QString("{a %1}").arg(KeystrokeParser::maxRepeat + 1)
        << QString("bad repeat count in {a %1}").arg(KeystrokeParser::maxRepeat + 1);
    QTest::newRow("control character") << "a\x01"
                                       << "character U+0001 cannot be typed";
}

void TestKeystrokeParser::rejectsMalformedText()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    const KeystrokeParser::Result result = KeystrokeParser::parse(text);
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QVERIFY(result.actions.isEmpty());
}

QTEST_APPLESS_MAIN(TestKeystrokeParser)
#include "tst_keystrokeparser.moc"
