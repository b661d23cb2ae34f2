#include "frmVolSet.h"

#include "MicrophoneChoice.h"
#include "VuMeterBar.h"
#include "config/LoginStart.h"
#include "config/ProgramSettings.h"
#include "config/StretchContainer.h"
#include "platform/Prompter.h"
#include "recognizer/Recognizer.h"

#include <QCheckBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

frmVolSet::frmVolSet(VuMeterBar &meter, Recognizer &recognizer, QWidget *parent, Prompter *prompter,
                     SoundSources *sources)
    : QDialog(parent), m_prompter(prompter), m_meter(meter), m_recognizer(recognizer)
{
    setObjectName(QStringLiteral("frmVolSet"));
    setWindowTitle(QStringLiteral("Sound Card Volume Visibility"));

    auto *container = new StretchContainer(QSize(4725, 4155), this);
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
    new MicrophoneChoice(sources, recognizer, container, 120);
    auto *lblFullScale = new QLabel(QStringLiteral("Level meter &full scale:"));
    lblFullScale->setObjectName(QStringLiteral("lblFullScale"));
    lblFullScale->setBuddy(slider);
    container->addControl(lblFullScale, QRect(240, 1380, 4335, 285));
    container->addControl(slider, QRect(240, 1680, 4335, 495));
    container->addControl(cmdDone, QRect(1680, 3600, 1215, 375));
    addDesktopSettings(container);
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

void frmVolSet::addDesktopSettings(StretchContainer *container)
{
    auto *txtListeningKey = new QKeySequenceEdit(
        QKeySequence(ProgramSettings::listeningKey(), QKeySequence::PortableText));
    txtListeningKey->setObjectName(QStringLiteral("txtListeningKey"));
    txtListeningKey->setClearButtonEnabled(true);
    txtListeningKey->setToolTip(QStringLiteral("Switches listening off and on from any window; "
                                               "a new key works once the configuration is "
                                               "closed. Empty: no key."));
    auto *lblListeningKey = new QLabel(QStringLiteral("&Listening key:"));
    lblListeningKey->setObjectName(QStringLiteral("lblListeningKey"));
    lblListeningKey->setBuddy(txtListeningKey);
    txtListeningKey->setAccessibleName(QStringLiteral("Listening key"));
    auto *chkStartAtLogin =
        new QCheckBox(QStringLiteral("Start JEV! Voice Command when I log &in"));
    chkStartAtLogin->setObjectName(QStringLiteral("chkStartAtLogin"));
    chkStartAtLogin->setChecked(LoginStart::isEnabled());
    container->addControl(lblListeningKey, QRect(240, 2400, 1800, 315));
    container->addControl(txtListeningKey, QRect(2100, 2340, 2475, 375));
    container->addControl(chkStartAtLogin, QRect(240, 2940, 4335, 375));

    // Only the first combination counts: a key is one combination, not a sequence.
    auto store = [txtListeningKey] {
        const QKeySequence keys = txtListeningKey->keySequence();
        ProgramSettings::setListeningKey(
            keys.isEmpty() ? QString()
                           : QKeySequence(keys[0]).toString(QKeySequence::PortableText));
    };
    connect(txtListeningKey, &QKeySequenceEdit::editingFinished, this, store);
    connect(txtListeningKey, &QKeySequenceEdit::keySequenceChanged, this,
            [store](const QKeySequence &keys) {
                if (keys.isEmpty())
                    store(); // the clear button
            });
    connect(chkStartAtLogin, &QCheckBox::toggled, this, &frmVolSet::setStartAtLogin);
}

void frmVolSet::setStartAtLogin(bool enabled)
{
    QString error;
    if (LoginStart::setEnabled(enabled, &error))
        return;
    if (m_prompter)
        m_prompter->showMessage(error, kProgramTitle, Prompter::Icon::Warning);
    auto *check = findChild<QCheckBox *>(QStringLiteral("chkStartAtLogin"));
    const QSignalBlocker blocker(check);
    check->setChecked(LoginStart::isEnabled());
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
