#pragma once

#include "AudioSource.h"

struct pa_simple;

// The default microphone through PulseAudio (or PipeWire's PulseAudio server).
class PulseAudioSource : public AudioSource
{
public:
    // server: empty for the default server.
    explicit PulseAudioSource(const QString &server = {});
    ~PulseAudioSource() override;

    bool open(QString *error) override;
    bool read(qint16 *samples, int count, QString *error) override;
    void close() override;

private:
    QString m_server;
    pa_simple *m_stream = nullptr;
};
