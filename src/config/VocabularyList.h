#pragma once

#include <QListWidget>

class DictionaryList;

// The vocabulary list of the vocabulary window: one vocabulary name a line, single selection.
// It takes the words dragged out of its window's word list: while they are over it, it reports
// the pointer's height in the design's twips, the list being 2400 twips high whatever its size,
// and its lines are one drop band (180 twips) high, so that the band under the pointer is the
// line under it. A drop is reported and handled by the window. The right button leaves the
// selection alone: a press asks for one pop-up menu, a release for another.
class VocabularyList : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int DesignHeight = 2400;
    static constexpr int BandHeight = 180;

    explicit VocabularyList(QWidget *parent = nullptr);

    void acceptWordsFrom(const DictionaryList *source);
    // Tall enough for a band to hold a line of text.
    QSize minimumSizeHint() const override;
    // The height of a band, and so of a line, at the list's present size.
    int bandPixels() const;

Q_SIGNALS:
    void wordsDraggedOver(double yTwips);
    void wordsDropped();
    void rightPressed(const QPoint &globalPos);
    void rightReleased(const QPoint &globalPos);

protected:
    QStringList mimeTypes() const override;
    bool dropMimeData(int index, const QMimeData *data, Qt::DropAction action) override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool acceptsDrag(const QDropEvent *event) const;

    const DictionaryList *m_source = nullptr;
};
