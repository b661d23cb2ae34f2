#pragma once

#include "AudioSource.h"
#include "SoundSources.h"

#include <functional>

struct pa_simple;

// A microphone through PulseAudio (or PipeWire's PulseAudio server): the one the user chose, or
// the server's default source, which the server keeps following when the default changes.
class PulseAudioSource : public AudioSource
{
public:
    // chosen: asked at every open for the source the user chose; an empty name (or no function)
    // follows the server's default. server: empty for the default server.
    explicit PulseAudioSource(std::function<SoundSource()> chosen = {}, const QString &server = {});
    ~PulseAudioSource() override;

    // A chosen source that is not there falls back to the default, with a notice() saying so.
    bool open(QString *error) override;
    QString notice() const override { return m_notice; }
    bool read(qint16 *samples, int count, QString *error) override;
    void close() override;

private:
    // device: empty for the server's default.
    pa_simple *connect(const QString &device, int *code) const;

    std::function<SoundSource()> m_chosen;
    QString m_server;
    QString m_notice;
    pa_simple *m_stream = nullptr;
};
