#pragma once

#include <QListWidget>

// The word list of the vocabulary window: one dictionary word a line, extended selection (click,
// Shift+click, Ctrl+click). A left press is reported after the list has applied it to its
// selection, so that the window can pick the pressed word up and arm a drag, which starts once
// the pointer moves: the outline of the picked-up lines follows the pointer. Only the vocabulary
// list of the same window takes that drag. The right button leaves the selection alone and asks
// for the pop-up menu; Ctrl+A asks for the window's Select All.
class DictionaryList : public QListWidget
{
    Q_OBJECT

public:
    // The MIME type of dragged words. The words themselves stay with the window (they were
    // picked up press by press); the data only tells which window they come from.
    static QString mimeType();

    explicit DictionaryList(QWidget *parent = nullptr);

    // What a drag of the picked-up words carries.
    QMimeData *wordsMimeData() const;
    bool isOwnDrag(const QMimeData *data) const;
    // The next move of the pressed pointer starts a drag; outline (in the list's coordinates) is
    // the rectangle whose outline the pointer carries.
    void armDrag(const QRect &outline);

Q_SIGNALS:
    // y: the pointer's height inside the list, in pixels.
    void leftPressed(int y);
    // A left press on the list, or a change of the current line or the selection by the keyboard.
    void wordClicked();
    void keyReleased();
    void popupMenuWanted(const QPoint &globalPos);
    void selectAllWanted();
    // A drag of the words has ended; IgnoreAction when nothing took them.
    void dragEnded(Qt::DropAction action);

protected:
    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void startWordDrag();
    QByteArray token() const;

    QRect m_outline;
    QPoint m_pressPos;
    bool m_armed = false;
};
