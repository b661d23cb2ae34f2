#pragma once

#include "recognizer/audio/SoundSources.h"

#include <QObject>

class QComboBox;
class QLabel;
class Recognizer;
class StretchContainer;

// The sound meter window's microphone choice: the sound server's sources by description, first
// an entry that follows the server's default. The choice is stored at once and the recognizer
// starts listening again on it, so that the meter shows the new source.
class MicrophoneChoice : public QObject
{
    Q_OBJECT

public:
    // sources: none gives only the default entry. The controls go into container from top.
    MicrophoneChoice(SoundSources *sources, Recognizer &recognizer, StretchContainer *container,
                     int top);

    // Asks the server for its sources again and shows the stored choice.
    void refresh();

private:
    void choose(int index);
    void tell(const QString &message);

    SoundSources *m_sources;
    Recognizer &m_recognizer;
    QComboBox *m_box;
    QLabel *m_state;
};
