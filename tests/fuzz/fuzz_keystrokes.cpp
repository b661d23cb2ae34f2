// The keystroke notation on arbitrary text: it is read into key actions or refused with a
// message, and any text written in the notation's escaped form types exactly itself.

#include "FuzzCheck.h"
#include "platform/KeystrokeParser.h"

namespace {

bool typeable(char32_t c)
{
    return c >= 0x20 && !(c >= 0x7f && c < 0xa0) && !(c >= 0xd800 && c < 0xe000);
}

// Every stroke is one key or one character, with known modifiers, and no text types without end.
void checkParsed(const QString &text, const KeystrokeParser::Result &result)
{
    FUZZ_CHECK(result.error.isEmpty() || result.actions.isEmpty());
    qsizetype strokes = 0;
    for (const KeyAction &action : result.actions) {
        FUZZ_CHECK(!action.strokes.isEmpty());
        for (const KeyStroke &stroke : action.strokes) {
            FUZZ_CHECK((stroke.character != 0) != (stroke.key != NamedKey::NoKey));
            FUZZ_CHECK(stroke.modifiers <= (KeyStroke::Shift | KeyStroke::Ctrl | KeyStroke::Alt));
            FUZZ_CHECK(stroke.character == 0 || typeable(stroke.character));
        }
        strokes += action.strokes.size();
    }
    FUZZ_CHECK(strokes <= text.size() * KeystrokeParser::maxRepeat);
}

// The text with every character that means something in the notation put in braces.
QString escaped(const QList<uint> &characters)
{
    QString text;
    for (const uint c : characters) {
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
        text += QStringLiteral("+^%~(){}").contains(character)
                    ? QLatin1Char('{') + character + QLatin1Char('}')
                    : character;
    }
    return text;
}

void checkEscaped(const QString &text)
{
    QList<uint> characters;
    for (const uint c : text.toUcs4()) {
        if (typeable(c))
            characters.append(c);
    }
    const KeystrokeParser::Result result = KeystrokeParser::parse(escaped(characters));
    FUZZ_CHECK(result.error.isEmpty());
    FUZZ_CHECK(result.actions.size() == characters.size());
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const KeyAction &action = result.actions.at(i);
        FUZZ_CHECK(action.strokes.size() == 1);
        FUZZ_CHECK(action.strokes.first() ==
                   (KeyStroke{char32_t(characters.at(i)), NamedKey::NoKey, 0}));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    checkParsed(text, KeystrokeParser::parse(text));
    checkEscaped(text);
    return 0;
}
