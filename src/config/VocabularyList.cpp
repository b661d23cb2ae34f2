#include "VocabularyList.h"

#include "DictionaryList.h"

#include <QDragMoveEvent>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <cmath>

namespace {

// Every line is one band high.
class BandDelegate : public QStyledItemDelegate
{
public:
    explicit BandDelegate(VocabularyList *list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_list->bandPixels());
        return size;
    }

private:
    VocabularyList *m_list;
};

} // namespace

VocabularyList::VocabularyList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new BandDelegate(this));
}

void VocabularyList::acceptWordsFrom(const DictionaryList *source)
{
    m_source = source;
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false); // the selected line is the target
}

QSize VocabularyList::minimumSizeHint() const
{
    const int line = fontMetrics().height() + 2;
    return QSize(QListWidget::minimumSizeHint().width(),
                 int(std::ceil(line * double(DesignHeight) / BandHeight)));
}

int VocabularyList::bandPixels() const
{
    return qMax(1, int(std::floor(height() * double(BandHeight) / DesignHeight)));
}

void VocabularyList::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    scheduleDelayedItemsLayout(); // the lines take the new band height
}

QStringList VocabularyList::mimeTypes() const
{
    return {DictionaryList::mimeType()};
}

Qt::DropActions VocabularyList::supportedDropActions() const
{
    return Qt::CopyAction;
}

bool VocabularyList::acceptsDrag(const QDropEvent *event) const
{
    return m_source && m_source->isOwnDrag(event->mimeData()) &&
           (event->possibleActions() & Qt::CopyAction);
}

void VocabularyList::dragEnterEvent(QDragEnterEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void VocabularyList::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    // No scrolling near the edges: the bands and the timer choose the line.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit wordsDraggedOver(event->position().y() * BandHeight / bandPixels());
}

bool VocabularyList::dropMimeData(int index, const QMimeData *data, Qt::DropAction action)
{
    Q_UNUSED(index) // the selected line is the target
    if (action != Qt::CopyAction || !m_source || !m_source->isOwnDrag(data))
        return false;
    emit wordsDropped();
    return true;
}

void VocabularyList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightPressed(event->globalPosition().toPoint());
        return;
    }
    QListWidget::mousePressEvent(event);
}

void VocabularyList::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightReleased(event->globalPosition().toPoint());
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void VocabularyList::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse asks with its buttons; the menu key asks here for the File menu.
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    const QRect line = currentItem() ? visualItemRect(currentItem()) : QRect();
    emit rightPressed(viewport()->mapToGlobal(line.isValid() ? line.center() : QPoint()));
}
