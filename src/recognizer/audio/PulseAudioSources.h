#pragma once

#include "SoundSources.h"

// The sources of a PulseAudio server (or PipeWire's PulseAudio server), asked afresh at every
// call: the default first, then the other inputs, then the monitors of the outputs.
class PulseAudioSources : public SoundSources
{
public:
    // server: empty for the default server.
    explicit PulseAudioSources(const QString &server = {});

    bool list(QList<SoundSource> *sources, QString *defaultName, QString *error) override;

private:
    QString m_server;
};
