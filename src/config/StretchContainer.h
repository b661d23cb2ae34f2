#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

// Places its children at their design rectangles, given in twips (1440 to the inch), and scales
// them with the container: a window can be made larger or smaller and keeps its layout.
class StretchContainer : public QWidget
{
public:
    // designSize: the client area the design rectangles were drawn in, in twips.
    StretchContainer(const QSize &designSize, QWidget *parent = nullptr);

    void addControl(QWidget *control, const QRect &designRect);
    // Enlarges the design's scale, the same in both directions, until every shown control's
    // minimum size fits its rectangle: captions are whole at the design size in any font.
    void fitContents();
    // The design size in pixels at the screen's logical resolution.
    QSize designPixelSize() const;
    QRect designPixelRect(const QRect &twips) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeAll();
    double pixelsPerTwip() const;

    QSize m_designSize;
    double m_contentScale = 1.0;
    QList<std::pair<QPointer<QWidget>, QRect>> m_controls;
};
