#pragma once

#include "platform/Prompter.h"

class QWidget;

// Message boxes and the input box of the windows, with the program's texts, titles and icons.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget *parent) { m_parent = parent; }

    void showMessage(const QString &text, const QString &title, Icon icon) override;
    bool askOkCancel(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> askText(const QString &prompt, const QString &title) override;

private:
    QWidget *m_parent;
};
