#include "QtPrompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString boxTitle(const QString &title)
{
    return title.isEmpty() ? kProgramTitle : title;
}

} // namespace

void QtPrompter::showMessage(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(boxIcon(icon), boxTitle(title), text, QMessageBox::Ok, m_parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

bool QtPrompter::askOkCancel(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(boxIcon(icon), boxTitle(title), text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    return box.exec() == QMessageBox::Ok;
}

std::optional<QString> QtPrompter::askText(const QString &prompt, const QString &title)
{
    QInputDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(boxTitle(title));
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
