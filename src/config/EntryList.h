#pragma once

#include <QListWidget>

// A list box of running-application entries ("class ¦ title"). One such list hands its entries
// out by drag and drop, another takes them: the drop goes through the list's model
// (dropMimeData), so that it can be reached with the mouse and called directly alike. The right
// mouse button leaves the selection alone, as in a classic list box, and asks for a pop-up menu
// when it is released.
class EntryList : public QListWidget
{
    Q_OBJECT

public:
    // The MIME type of a dragged entry; its data is the entry's text in UTF-8.
    static QString mimeType();

    explicit EntryList(QWidget *parent = nullptr);

    // Lets the entry under the pointer be dragged out; the drag shows that entry.
    void enableDragOut();
    // Takes the entries dragged out of source, and only those.
    void acceptDropsFrom(const EntryList *source);
    // The horizontal scroll range becomes factor times the list's width (at least what the
    // entries need). False when that range is not a number of pixels.
    bool setHorizontalExtentFactor(double factor);
    int horizontalExtent() const;

Q_SIGNALS:
    // An entry of the source list was dropped here.
    void entryDropped(const QString &entry);
    // The right button was released over the list, or the menu key pressed (globalPos: where the
    // pop-up menu belongs).
    void popupMenuWanted(const QPoint &globalPos);

protected:
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override;
    bool dropMimeData(int index, const QMimeData *data, Qt::DropAction action) override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void updateGeometries() override;

private:
    bool acceptsDrag(const QDropEvent *event) const;

    const EntryList *m_dropSource = nullptr;
    double m_extentFactor = 0;
};
