#pragma once

#include <QString>

// What the program tells the user about the sound server, in one place: the microphone, the
// list of sources and the windows all say the same.
namespace SoundServerMessages {

inline QString noServer()
{
    return QStringLiteral(
        "No sound server is running: start PipeWire or PulseAudio, then click the level meter.");
}

inline QString noSource()
{
    return QStringLiteral("The sound server has no microphone: connect one (or switch it on in "
                          "the sound settings), then click the level meter.");
}

// The microphone chosen in the sound meter window is not there (unplugged, renamed).
inline QString chosenSourceGone(const QString &description)
{
    return QStringLiteral(
               "The microphone \"%1\" is not there: listening to the sound server's "
               "default microphone instead. Choose another under Configure, Edit, Sound Meter.")
        .arg(description);
}

inline QString serverStopped()
{
    return QStringLiteral("The sound server stopped: listening is off. Click the level meter to "
                          "listen again once it runs.");
}

} // namespace SoundServerMessages
