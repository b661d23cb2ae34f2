#include "VocabularyPlaceholder.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

VocabularyPlaceholder::VocabularyPlaceholder(QWidget *parent)
    : QDialog(parent), m_lstVocab(new QListWidget(this)), m_box(*m_lstVocab)
{
    setObjectName(QStringLiteral("frmVocab"));
    setWindowTitle(QStringLiteral("Vocabulary Configuration"));
    auto *text = new QLabel(
        QStringLiteral("Vocabularies cannot be edited in a window in this version. Edit them with "
                       "the command line, for example:\n\n"
                       "  jev vocabs new Editing\n"
                       "  jev words add Editing \"select all:^a\"\n\n"
                       "The vocabularies:"),
        this);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lstVocab->setObjectName(QStringLiteral("lstVocab"));
    m_lstVocab->setAccessibleName(QStringLiteral("Vocabularies"));
    text->setBuddy(m_lstVocab);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *back =
        buttons->addButton(QStringLiteral("Application/&Vocabulary"), QDialogButtonBox::AcceptRole);
    back->setObjectName(QStringLiteral("cmdToggle"));
    back->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_lstVocab);
    layout->addWidget(buttons);
}

bool VocabularyPlaceholder::showModal()
{
    exec();
    return true; // nothing can be changed here, so the user goes back where they came from
}
