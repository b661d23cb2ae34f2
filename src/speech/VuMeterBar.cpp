#include "VuMeterBar.h"

#include <QMouseEvent>

VuMeterBar::VuMeterBar(QWidget *parent) : QProgressBar(parent)
{
    setObjectName(QStringLiteral("VUMeter"));
    setRange(0, 3000);
    setValue(0);
    setTextVisible(false);
    setToolTip(QStringLiteral("Input level. Click (or press Alt+F1) to switch listening off or "
                              "on; a click also reloads the commands."));
    setAccessibleName(QStringLiteral("Input level and listening switch"));
}

void VuMeterBar::setLevel(int level)
{
    if (level >= minimum() && level <= maximum())
        setValue(level);
}

void VuMeterBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

// A press dragged off the bar before the release is no click, as with a button.
void VuMeterBar::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

// The second press of a double click arrives here in place of a press; listening was already
// switched by the first click, so it is not switched back.
void VuMeterBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
