#pragma once

#include "recognizer/Recognizer.h"

#include <QProgressBar>

// The level meter: a bar from 0 to the full-scale value that is also the listening switch.
class VuMeterBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit VuMeterBar(QWidget *parent = nullptr);

    int fullScale() const { return maximum(); }
    void setFullScale(int value) { setMaximum(value); }
    // A level above the full scale is refused: the bar keeps its last position.
    void setLevel(int level);
    int level() const { return value(); }
    // Says on the bar (and in its tool tip) when the input is too quiet or clipped.
    void setInputCondition(Recognizer::InputCondition condition);
    Recognizer::InputCondition inputCondition() const { return m_condition; }

Q_SIGNALS:
    // A press and a release of the left button on the bar; the second click of a double click
    // does not count again.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
    QColor m_normalColour;
    Recognizer::InputCondition m_condition = Recognizer::InputCondition::Normal;
};
