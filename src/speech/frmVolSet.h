#pragma once

#include <QDialog>

class Recognizer;
class VuMeterBar;

// Sets the level meter's full scale so that the sound card's input is clearly visible. The value
// is applied and stored when the user lets go of the slider.
class frmVolSet : public QDialog
{
    Q_OBJECT

public:
    frmVolSet(VuMeterBar &meter, Recognizer &recognizer, QWidget *parent = nullptr);

private:
    void apply();
    void done();

    VuMeterBar &m_meter;
    Recognizer &m_recognizer;
};
