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
        Q_EMIT clicked();
    event->accept();
}
