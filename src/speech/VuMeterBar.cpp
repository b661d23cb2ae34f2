#include "VuMeterBar.h"

#include <QMouseEvent>

namespace {

const QString kUsage = QStringLiteral("Input level. Click (or press Alt+F1) to switch listening "
                                      "off or on; a click also reloads the commands.");

} // namespace

VuMeterBar::VuMeterBar(QWidget *parent) : QProgressBar(parent)
{
    setObjectName(QStringLiteral("VUMeter"));
    setRange(0, 3000);
    setValue(0);
    setTextVisible(false);
    setAlignment(Qt::AlignCenter);
    m_normalColour = palette().color(QPalette::Highlight);
    setToolTip(kUsage);
    setAccessibleName(QStringLiteral("Input level and listening switch"));
}

void VuMeterBar::setInputCondition(Recognizer::InputCondition condition)
{
    m_condition = condition;
    QString text;
    QString advice;
    switch (condition) {
    case Recognizer::InputCondition::Normal:
        break;
    case Recognizer::InputCondition::TooQuiet:
        text = QStringLiteral("Too quiet");
        advice = QStringLiteral("The microphone has heard almost nothing for a few seconds: check "
                                "that it is connected and not muted, that it is the one chosen "
                                "(Configure, Edit, Sound Meter), and turn its volume up in the "
                                "sound settings.");
        break;
    case Recognizer::InputCondition::Clipping:
        text = QStringLiteral("Too loud");
        advice = QStringLiteral("The sound is clipped (too loud for the microphone's input): turn "
                                "its volume down in the sound settings or speak a little further "
                                "from it.");
        break;
    }
    setFormat(text);
    setTextVisible(!text.isEmpty());
    setToolTip(advice.isEmpty() ? kUsage : advice + QStringLiteral("\n\n") + kUsage);
    setAccessibleDescription(advice);
    // Red, as on any recording meter, while the sound is clipped.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, condition == Recognizer::InputCondition::Clipping
                                              ? QColor(0xc0, 0x1c, 0x28)
                                              : m_normalColour);
    setPalette(colours);
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
