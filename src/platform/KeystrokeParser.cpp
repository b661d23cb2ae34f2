#include "KeystrokeParser.h"

#include <QHash>

namespace {

using Strokes = QList<KeyStroke>;

const QHash<QString, NamedKey> &keyNames()
{
    static const QHash<QString, NamedKey> names = [] {
        QHash<QString, NamedKey> n{
            {"ENTER", NamedKey::Enter},
            {"TAB", NamedKey::Tab},
            {"ESC", NamedKey::Escape},
            {"BS", NamedKey::Backspace},
            {"BACKSPACE", NamedKey::Backspace},
            {"BKSP", NamedKey::Backspace},
            {"DEL", NamedKey::Delete},
            {"DELETE", NamedKey::Delete},
            {"INS", NamedKey::Insert},
            {"INSERT", NamedKey::Insert},
            {"HOME", NamedKey::Home},
            {"END", NamedKey::End},
            {"PGUP", NamedKey::PageUp},
            {"PGDN", NamedKey::PageDown},
            {"UP", NamedKey::Up},
            {"DOWN", NamedKey::Down},
            {"LEFT", NamedKey::Left},
            {"RIGHT", NamedKey::Right},
            {"CAPSLOCK", NamedKey::CapsLock},
            {"NUMLOCK", NamedKey::NumLock},
            {"SCROLLLOCK", NamedKey::ScrollLock},
            {"BREAK", NamedKey::Break},
            {"PRTSC", NamedKey::PrintScreen},
            {"HELP", NamedKey::Help},
            {"ADD", NamedKey::Add},
            {"SUBTRACT", NamedKey::Subtract},
            {"MULTIPLY", NamedKey::Multiply},
            {"DIVIDE", NamedKey::Divide},
        };
        for (int i = 0; i < 16; ++i)
            n.insert(QStringLiteral("F%1").arg(i + 1), NamedKey(int(NamedKey::F1) + i));
        return n;
    }();
    return names;
}

unsigned modifierOf(QChar c)
{
    switch (c.unicode()) {
    case '+':
        return KeyStroke::Shift;
    case '^':
        return KeyStroke::Ctrl;
    case '%':
        return KeyStroke::Alt;
    default:
        return KeyStroke::NoModifier;
    }
}

// Recursive descent over the text; the first error ends the reading.
class Reader
{
public:
    explicit Reader(const QString &text) : m_text(text) {}

    // The items up to the end of the text, or in a group up to its ")" (left unread), one action
    // each.
    bool items(bool inGroup, QList<KeyAction> &out)
    {
        while (m_pos < m_text.size()) {
            if (m_text[m_pos] == QLatin1Char(')')) {
                if (inGroup)
                    return true;
                return fail(QStringLiteral("\")\" without \"(\""));
            }
            unsigned modifiers = KeyStroke::NoModifier;
            const qsizetype modifierPos = m_pos;
            while (m_pos < m_text.size() && modifierOf(m_text[m_pos]))
                modifiers |= modifierOf(m_text[m_pos++]);
            if (m_pos == m_text.size() || m_text[m_pos] == QLatin1Char(')'))
                return fail(QStringLiteral("\"%1\" has no key after it")
                                .arg(m_text.mid(modifierPos, m_pos - modifierPos)),
                            modifierPos);
            Strokes strokes;
            if (!atom(strokes))
                return false;
            for (KeyStroke &stroke : strokes)
                stroke.modifiers |= modifiers;
            if (!strokes.isEmpty())
                out.append(KeyAction{strokes});
        }
        if (inGroup)
            return fail(QStringLiteral("\"(\" without \")\""), m_groupStart);
        return true;
    }

    QString error() const { return m_error; }

private:
    static constexpr int MaxDepth = 32;
    bool fail(const QString &what) { return fail(what, m_pos); }
    bool fail(const QString &what, qsizetype pos)
    {
        m_error = QStringLiteral("%1 at position %2 of \"%3\"").arg(what).arg(pos).arg(m_text);
        return false;
    }

    // One character, "~", a braced key or a group.
    bool atom(Strokes &strokes)
    {
        const QChar c = m_text[m_pos];
        if (c == QLatin1Char('(')) {
            // Each group is a level of recursion: a text of thousands of "(" must not overflow
            // the stack, and no real shortcut needs more than a few levels.
            if (m_depth == MaxDepth)
                return fail(QStringLiteral("groups nested more than %1 deep").arg(MaxDepth));
            const qsizetype outerStart = m_groupStart;
            m_groupStart = m_pos++;
            QList<KeyAction> inner;
            ++m_depth;
            if (!items(true, inner))
                return false;
            --m_depth;
            ++m_pos; // ")"
            m_groupStart = outerStart;
            for (const KeyAction &action : std::as_const(inner))
                strokes += action.strokes;
            return true;
        }
        if (c == QLatin1Char('{'))
            return braced(strokes);
        if (c == QLatin1Char('}'))
            return fail(QStringLiteral("\"}\" without \"{\""));
        if (c == QLatin1Char('~')) {
            ++m_pos;
            strokes.append(KeyStroke{0, NamedKey::Enter});
            return true;
        }
        KeyStroke stroke;
        if (!character(m_pos, stroke))
            return false;
        m_pos += stroke.character > 0xffff ? 2 : 1;
        strokes.append(stroke);
        return true;
    }

    // The character at pos as a stroke: control characters that have a key of their own become
    // that key, the others cannot be typed.
    bool character(qsizetype pos, KeyStroke &stroke)
    {
        const QChar c = m_text[pos];
        if (c.isHighSurrogate() && pos + 1 < m_text.size() && m_text[pos + 1].isLowSurrogate()) {
            stroke.character = QChar::surrogateToUcs4(c, m_text[pos + 1]);
            return true;
        }
        switch (c.unicode()) {
        case '\t':
            stroke.key = NamedKey::Tab;
            return true;
        case '\r':
        case '\n':
            stroke.key = NamedKey::Enter;
            return true;
        default:
            break;
        }
        if (c.isSurrogate() || c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
            return fail(QStringLiteral("character U+%1 cannot be typed")
                            .arg(c.unicode(), 4, 16, QLatin1Char('0')),
                        pos);
        stroke.character = c.unicode();
        return true;
    }

    // "{NAME}" or "{NAME n}". The first character after "{" always belongs to the name, so "{{}"
    // and "{}}" are the braces themselves.
    bool braced(Strokes &strokes)
    {
        const qsizetype open = m_pos;
        const qsizetype nameStart = open + 1;
        if (nameStart >= m_text.size())
            return fail(QStringLiteral("\"{\" without \"}\""));
        const qsizetype firstLength =
            m_text[nameStart].isHighSurrogate() && nameStart + 1 < m_text.size() ? 2 : 1;
        const qsizetype close = m_text.indexOf(QLatin1Char('}'), nameStart + firstLength);
        if (close < 0)
            return fail(QStringLiteral("\"{\" without \"}\""));
        const QString braces = m_text.mid(open, close + 1 - open);
        const qsizetype space = m_text.indexOf(QLatin1Char(' '), nameStart + firstLength);
        const bool counted = space >= 0 && space < close;
        const QString name = m_text.mid(nameStart, (counted ? space : close) - nameStart);

        int count = 1;
        if (counted) {
            const QString digits = m_text.mid(space + 1, close - space - 1);
            bool ok = !digits.isEmpty() && std::all_of(digits.cbegin(), digits.cend(), [](QChar d) {
                return d >= QLatin1Char('0') && d <= QLatin1Char('9');
            });
            if (ok)
                count = digits.toInt(&ok);
            if (!ok || count > KeystrokeParser::maxRepeat)
                return fail(QStringLiteral("bad repeat count in %1 (0 to %2)")
                                .arg(braces)
                                .arg(KeystrokeParser::maxRepeat),
                            open);
        }

        KeyStroke stroke;
        if (name.size() == firstLength) {
            if (!character(nameStart, stroke))
                return false;
        } else {
            stroke.key = KeystrokeParser::namedKey(name);
            if (stroke.key == NamedKey::NoKey)
                return fail(QStringLiteral("unknown key name in %1").arg(braces), open);
        }
        for (int i = 0; i < count; ++i)
            strokes.append(stroke);
        m_pos = close + 1;
        return true;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    qsizetype m_groupStart = 0;
    int m_depth = 0;
    QString m_error;
};

} // namespace

KeystrokeParser::Result KeystrokeParser::parse(const QString &text)
{
    Result result;
    Reader reader(text);
    if (!reader.items(false, result.actions)) {
        result.actions.clear();
        result.error = reader.error();
    }
    return result;
}

NamedKey KeystrokeParser::namedKey(const QString &name)
{
    return keyNames().value(name.toUpper(), NamedKey::NoKey);
}
