#pragma once

#include <QDialog>

class MicrophoneChoice;
class Prompter;
class Recognizer;
class SoundSources;
class StretchContainer;
class VuMeterBar;

// Sets the level meter's full scale so that the sound card's input is clearly visible. The value
// is applied and stored when the user lets go of the slider. Also the microphone to listen to,
// and the settings of the program on the desktop: the listening key (taken when the
// configuration closes) and the start at login.
class frmVolSet : public QDialog
{
    Q_OBJECT

public:
    // prompter: where a setting that cannot be stored is told; none in tests that do not need it.
    // sources: the sound server's sources to choose the microphone from; none offers only the
    // server's default.
    frmVolSet(VuMeterBar &meter, Recognizer &recognizer, QWidget *parent = nullptr,
              Prompter *prompter = nullptr, SoundSources *sources = nullptr);

private:
    void addDesktopSettings(StretchContainer *container);
    void apply();
    void done();
    void setStartAtLogin(bool enabled);

    Prompter *m_prompter;

    VuMeterBar &m_meter;
    Recognizer &m_recognizer;
};
