#include "EntryList.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QScrollBar>
#include <cmath>
#include <limits>

QString EntryList::mimeType()
{
    return QStringLiteral("application/x-jev-running-application");
}

EntryList::EntryList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragDropMode(QAbstractItemView::NoDragDrop);
}

void EntryList::enableDragOut()
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    // The entry is copied: the running applications stay listed.
    setDefaultDropAction(Qt::CopyAction);
}

void EntryList::acceptDropsFrom(const EntryList *source)
{
    m_dropSource = source;
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false); // an entry always goes to the end
}

QStringList EntryList::mimeTypes() const
{
    return {mimeType()};
}

QMimeData *EntryList::mimeData(const QList<QListWidgetItem *> &items) const
{
    if (items.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    // No plain text: dropped anywhere but on the application list, the entry does nothing.
    data->setData(mimeType(), items.first()->text().toUtf8());
    return data;
}

bool EntryList::dropMimeData(int index, const QMimeData *data, Qt::DropAction action)
{
    Q_UNUSED(index) // the position is the application list's business
    if (!m_dropSource || action != Qt::CopyAction || !data || !data->hasFormat(mimeType()))
        return false;
    emit entryDropped(QString::fromUtf8(data->data(mimeType())));
    return true;
}

Qt::DropActions EntryList::supportedDropActions() const
{
    return Qt::CopyAction;
}

bool EntryList::acceptsDrag(const QDropEvent *event) const
{
    return m_dropSource && event->source() == m_dropSource &&
           event->mimeData()->hasFormat(mimeType()) && (event->possibleActions() & Qt::CopyAction);
}

void EntryList::dragEnterEvent(QDragEnterEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void EntryList::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    QListWidget::dragMoveEvent(event); // scrolls the list near its edges
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void EntryList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void EntryList::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit popupMenuWanted(event->globalPosition().toPoint());
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void EntryList::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse asks on release; the menu key asks here, with the menu at the current line.
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    const QRect line = currentItem() ? visualItemRect(currentItem()) : QRect();
    emit popupMenuWanted(viewport()->mapToGlobal(line.isValid() ? line.center() : QPoint()));
}

bool EntryList::setHorizontalExtentFactor(double factor)
{
    const double extent = std::nearbyint(width() * factor); // halves go to the even neighbour
    if (!std::isfinite(extent) || extent < 0 || extent > std::numeric_limits<int>::max())
        return false;
    m_extentFactor = factor;
    // A range beyond the list's width always needs the scroll bar.
    setHorizontalScrollBarPolicy(factor > 1 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    updateGeometries();
    return true;
}

int EntryList::horizontalExtent() const
{
    return int(std::nearbyint(width() * m_extentFactor));
}

void EntryList::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    updateGeometries();
}

void EntryList::updateGeometries()
{
    QListWidget::updateGeometries();
    const int range = horizontalExtent() - viewport()->width();
    if (range > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setRange(0, range);
}
