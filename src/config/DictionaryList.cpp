#include "DictionaryList.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

QString DictionaryList::mimeType()
{
    return QStringLiteral("application/x-jev-dictionary-words");
}

DictionaryList::DictionaryList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The drag is the list's own: Qt's item drag would defer a Ctrl+click's deselection to the
    // release, and the window needs to know at the press whether the word stays selected.
    setDragEnabled(false);
}

QByteArray DictionaryList::token() const
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(quintptr(this), 16);
}

QMimeData *DictionaryList::wordsMimeData() const
{
    auto *data = new QMimeData;
    data->setData(mimeType(), token());
    return data;
}

bool DictionaryList::isOwnDrag(const QMimeData *data) const
{
    return data && data->data(mimeType()) == token();
}

QMimeData *DictionaryList::mimeData(const QList<QListWidgetItem *> &items) const
{
    Q_UNUSED(items) // the words travel with the window
    return wordsMimeData();
}

void DictionaryList::armDrag(const QRect &outline)
{
    m_outline = outline;
    m_armed = true;
}

void DictionaryList::mousePressEvent(QMouseEvent *event)
{
    m_armed = false;
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit popupMenuWanted(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) {
        event->accept(); // the middle button does nothing here
        return;
    }
    QListWidget::mousePressEvent(event);
    m_pressPos = event->position().toPoint();
    emit leftPressed(viewport()->mapTo(this, m_pressPos).y());
    emit wordClicked();
}

void DictionaryList::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_armed || !(event->buttons() & Qt::LeftButton)) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    // An armed press never selects by dragging over lines: it carries words.
    if ((event->position().toPoint() - m_pressPos).manhattanLength() >=
        QApplication::startDragDistance())
        startWordDrag();
}

void DictionaryList::startWordDrag()
{
    m_armed = false;
    QPixmap outline(m_outline.size().expandedTo(QSize(2, 2)));
    outline.fill(Qt::transparent);
    {
        QPainter painter(&outline);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2, Qt::DotLine));
        painter.drawRect(outline.rect().adjusted(1, 1, -1, -1));
    }
    auto *drag = new QDrag(this);
    drag->setMimeData(wordsMimeData());
    drag->setPixmap(outline);
    drag->setHotSpot(viewport()->mapTo(this, m_pressPos) - m_outline.topLeft());
    const Qt::DropAction action = drag->exec(Qt::CopyAction);
    emit dragEnded(action);
}

void DictionaryList::mouseReleaseEvent(QMouseEvent *event)
{
    m_armed = false;
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void DictionaryList::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::SelectAll) {
        event->accept();
        emit selectAllWanted();
        return;
    }
    const int current = currentRow();
    const QList<QListWidgetItem *> selected = selectedItems();
    QListWidget::keyPressEvent(event);
    if (currentRow() != current || selectedItems() != selected)
        emit wordClicked();
}

void DictionaryList::keyReleaseEvent(QKeyEvent *event)
{
    QListWidget::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit keyReleased();
}

void DictionaryList::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse asks at the press; the menu key asks here, with the menu at the current line.
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    const QRect line = currentItem() ? visualItemRect(currentItem()) : QRect();
    emit popupMenuWanted(viewport()->mapToGlobal(line.isValid() ? line.center() : QPoint()));
}
