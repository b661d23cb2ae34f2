#include "KeyActionText.h"

#include <QHash>
#include <QStringList>

QString keyActionText(const QList<KeyAction> &actions)
{
    static const QHash<NamedKey, QString> names{
        {NamedKey::Enter, "<Enter>"},
        {NamedKey::Tab, "<Tab>"},
        {NamedKey::Escape, "<Esc>"},
        {NamedKey::Backspace, "<Backspace>"},
        {NamedKey::Delete, "<Delete>"},
        {NamedKey::Insert, "<Insert>"},
        {NamedKey::Home, "<Home>"},
        {NamedKey::End, "<End>"},
        {NamedKey::PageUp, "<PageUp>"},
        {NamedKey::PageDown, "<PageDown>"},
        {NamedKey::Up, "<Up>"},
        {NamedKey::Down, "<Down>"},
        {NamedKey::Left, "<Left>"},
        {NamedKey::Right, "<Right>"},
        {NamedKey::F1, "<F1>"},
        {NamedKey::F5, "<F5>"},
        {NamedKey::F10, "<F10>"},
        {NamedKey::F16, "<F16>"},
        {NamedKey::CapsLock, "<CapsLock>"},
        {NamedKey::NumLock, "<NumLock>"},
        {NamedKey::ScrollLock, "<ScrollLock>"},
        {NamedKey::Break, "<Break>"},
        {NamedKey::PrintScreen, "<PrintScreen>"},
        {NamedKey::Help, "<Help>"},
        {NamedKey::Add, "<Add>"},
        {NamedKey::Subtract, "<Subtract>"},
        {NamedKey::Multiply, "<Multiply>"},
        {NamedKey::Divide, "<Divide>"},
    };
    QStringList actionTexts;
    for (const KeyAction &action : actions) {
        QStringList strokeTexts;
        for (const KeyStroke &stroke : action.strokes) {
            QString text;
            if (stroke.modifiers & KeyStroke::Shift)
                text += "Shift+";
            if (stroke.modifiers & KeyStroke::Ctrl)
                text += "Ctrl+";
            if (stroke.modifiers & KeyStroke::Alt)
                text += "Alt+";
            if (stroke.key != NamedKey::NoKey)
                text += names.value(stroke.key, "<?>");
            else
                text += QString::fromUcs4(&stroke.character, 1);
            strokeTexts << text;
        }
        actionTexts << strokeTexts.join(' ');
    }
    return actionTexts.join(" | ");
}
