#include "PulseAudioSource.h"

#include <pulse/error.h>
#include <pulse/simple.h>

PulseAudioSource::PulseAudioSource(const QString &server) : m_server(server) {}

PulseAudioSource::~PulseAudioSource()
{
    close();
}

bool PulseAudioSource::open(QString *error)
{
    if (m_stream)
        return true;
    const pa_sample_spec format{PA_SAMPLE_S16LE, 16000, 1};
    // Small fragments keep the delay between speaking and deciding short.
    pa_buffer_attr attributes{};
    attributes.maxlength = quint32(-1);
    attributes.fragsize = 16000 * 2 / 50;
    int code = 0;
    const QByteArray server = m_server.toLocal8Bit();
    m_stream = pa_simple_new(server.isEmpty() ? nullptr : server.constData(), "JEV! Voice Command",
                             PA_STREAM_RECORD, nullptr, "Voice commands", &format, nullptr,
                             &attributes, &code);
    if (!m_stream) {
        if (error)
            *error = QStringLiteral("No microphone can be opened: %1.")
                         .arg(QString::fromLocal8Bit(pa_strerror(code)));
        return false;
    }
    return true;
}

bool PulseAudioSource::read(qint16 *samples, int count, QString *error)
{
    int code = 0;
    if (!m_stream || pa_simple_read(m_stream, samples, size_t(count) * 2, &code) < 0) {
        if (error)
            *error = QStringLiteral("The microphone stopped: %1.")
                         .arg(m_stream ? QString::fromLocal8Bit(pa_strerror(code))
                                       : QStringLiteral("it is not open"));
        return false;
    }
    return true;
}

void PulseAudioSource::close()
{
    if (m_stream) {
        pa_simple_free(m_stream);
        m_stream = nullptr;
    }
}
