#pragma once

#include "ListWidgetBox.h"
#include "VocabularyWindow.h"

#include <QDialog>

class QListWidget;

// Stands in for the vocabulary window until it exists: it lists the vocabularies, says how to
// edit them meanwhile, and always leads back to the application window.
class VocabularyPlaceholder : public QDialog, public VocabularyWindow
{
    Q_OBJECT

public:
    explicit VocabularyPlaceholder(QWidget *parent = nullptr);

    ListBox &vocabularyList() override { return m_box; }
    bool showModal() override;

private:
    QListWidget *m_lstVocab;
    ListWidgetBox m_box;
};
