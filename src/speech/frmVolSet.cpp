#include "frmVolSet.h"

#include "VuMeterBar.h"
#include "config/ProgramSettings.h"
#include "config/StretchContainer.h"
#include "recognizer/Recognizer.h"

#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

frmVolSet::frmVolSet(VuMeterBar &meter, Recognizer &recognizer, QWidget *parent)
    : QDialog(parent), m_meter(meter), m_recognizer(recognizer)
{
    setObjectName(QStringLiteral("frmVolSet"));
    setWindowTitle(QStringLiteral("Sound Card Volume Visibility"));

    auto *container = new StretchContainer(QSize(4725, 1395), this);
    container->setObjectName(QStringLiteral("strVolSet"));
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QStringLiteral("Slider1"));
    slider->setRange(2000, 20000);
    slider->setSingleStep(500);
    slider->setPageStep(2000);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(2000);
    // A full scale outside the slider's range (an edited setting) shows at the nearer end.
    slider->setValue(meter.fullScale());
    slider->setAccessibleName(QStringLiteral("Level meter full scale"));
    auto *cmdDone = new QPushButton(QStringLiteral("&Done"));
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setDefault(true);
    container->addControl(slider, QRect(240, 120, 4335, 495));
    container->addControl(cmdDone, QRect(1680, 840, 1215, 375));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    resize(container->designPixelSize());

    connect(slider, &QSlider::sliderReleased, this, &frmVolSet::apply);
    // Keyboard changes take effect too, once the user leaves the slider alone.
    connect(slider, &QSlider::valueChanged, this, [this, slider] {
        if (!slider->isSliderDown())
            apply();
    });
    connect(cmdDone, &QPushButton::clicked, this, &frmVolSet::done);
}

void frmVolSet::apply()
{
    const int value = findChild<QSlider *>(QStringLiteral("Slider1"))->value();
    m_meter.setFullScale(value);
    ProgramSettings::setFullScale(value);
}

void frmVolSet::done()
{
    m_recognizer.Deactivate();
    m_meter.setLevel(0);
    accept();
}
