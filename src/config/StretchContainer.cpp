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
    return logicalDpiX() / kTwipsPerInch * m_contentScale;
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
    m_controls.append({control, designRect});
    placeAll();
}

void StretchContainer::fitContents()
{
    m_contentScale = 1.0;
    double scale = 1.0;
    for (const auto &[control, designRect] : std::as_const(m_controls)) {
        if (!control || control->isHidden())
            continue;
        const QSize needed = control->minimumSizeHint();
        const QRect r = designPixelRect(designRect);
        if (r.width() > 0)
            scale = qMax(scale, double(needed.width()) / r.width());
        if (r.height() > 0)
            scale = qMax(scale, double(needed.height()) / r.height());
    }
    m_contentScale = scale;
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
    for (const auto &[control, designRect] : std::as_const(m_controls)) {
        if (!control)
            continue; // deleted since it was added
        const QRect r = designPixelRect(designRect);
        control->setGeometry(qRound(r.x() * sx), qRound(r.y() * sy), qRound(r.width() * sx),
                             qRound(r.height() * sy));
    }
}
