#include "StretchContainer.h"

#include <QResizeEvent>
#include <QtMath>

namespace {

constexpr double kTwipsPerInch = 1440.0;

} // namespace

StretchContainer::StretchContainer(const QSize &designSize, QWidget *parent)
    : QWidget(parent), m_designSize(designSize)
{}

double StretchContainer::pixelsPerTwip() const
{
    return logicalDpiX() / kTwipsPerInch;
}

QSize StretchContainer::designPixelSize() const
{
    return QSize(qRound(m_designSize.width() * pixelsPerTwip()),
                 qRound(m_designSize.height() * pixelsPerTwip()));
}

QRect StretchContainer::designPixelRect(const QRect &twips) const
{
    const double p = pixelsPerTwip();
    return QRect(qRound(twips.x() * p), qRound(twips.y() * p), qRound(twips.width() * p),
                 qRound(twips.height() * p));
}

void StretchContainer::addControl(QWidget *control, const QRect &designRect)
{
    control->setParent(this);
    m_controls.insert(control, designRect);
    connect(control, &QObject::destroyed, this,
            [this, control] { m_controls.remove(static_cast<QWidget *>(control)); });
    placeAll();
}

void StretchContainer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeAll();
}

void StretchContainer::placeAll()
{
    const QSize design = designPixelSize();
    if (design.isEmpty())
        return;
    const double sx = double(width()) / design.width();
    const double sy = double(height()) / design.height();
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        const QRect r = designPixelRect(it.value());
        it.key()->setGeometry(qRound(r.x() * sx), qRound(r.y() * sy), qRound(r.width() * sx),
                              qRound(r.height() * sy));
    }
}
