#include "PulseAudioSource.h"

#include "SoundServerMessages.h"

#include <pulse/error.h>
#include <pulse/simple.h>

namespace {

// What the user can do about a failure to open.
QString openMessage(int code)
{
    switch (code) {
    case PA_ERR_CONNECTIONREFUSED:
    case PA_ERR_CONNECTIONTERMINATED:
        return SoundServerMessages::noServer();
    case PA_ERR_NOENTITY:
        return SoundServerMessages::noSource();
    default:
        return QStringLiteral("No microphone can be opened: %1.")
            .arg(QString::fromLocal8Bit(pa_strerror(code)));
    }
}

} // namespace

PulseAudioSource::PulseAudioSource(std::function<SoundSource()> chosen, const QString &server)
    : m_chosen(std::move(chosen)), m_server(server)
{}

PulseAudioSource::~PulseAudioSource()
{
    close();
}

pa_simple *PulseAudioSource::connect(const QString &device, int *code) const
{
    const pa_sample_spec format{PA_SAMPLE_S16LE, 16000, 1};
    // Small fragments keep the delay between speaking and deciding short.
    pa_buffer_attr attributes{};
    attributes.maxlength = quint32(-1);
    attributes.fragsize = 16000 * 2 / 50;
    const QByteArray server = m_server.toLocal8Bit();
    const QByteArray name = device.toUtf8();
    return pa_simple_new(server.isEmpty() ? nullptr : server.constData(), "JEV! Voice Command",
                         PA_STREAM_RECORD, name.isEmpty() ? nullptr : name.constData(),
                         "Voice commands", &format, nullptr, &attributes, code);
}

bool PulseAudioSource::open(QString *error)
{
    if (m_stream)
        return true;
    m_notice.clear();
    const SoundSource chosen = m_chosen ? m_chosen() : SoundSource();
    int code = 0;
    if (!chosen.name.isEmpty()) {
        m_stream = connect(chosen.name, &code);
        if (m_stream)
            return true;
        if (code != PA_ERR_NOENTITY) {
            if (error)
                *error = openMessage(code);
            return false;
        }
    }
    m_stream = connect({}, &code);
    if (!m_stream) {
        if (error)
            *error = openMessage(code);
        return false;
    }
    if (!chosen.name.isEmpty())
        m_notice = SoundServerMessages::chosenSourceGone(
            chosen.description.isEmpty() ? chosen.name : chosen.description);
    return true;
}

bool PulseAudioSource::read(qint16 *samples, int count, QString *error)
{
    int code = 0;
    if (m_stream && pa_simple_read(m_stream, samples, size_t(count) * 2, &code) >= 0)
        return true;
    if (!error)
        return false;
    if (!m_stream)
        *error = QStringLiteral("The microphone stopped: it is not open.");
    else if (code == PA_ERR_CONNECTIONTERMINATED || code == PA_ERR_CONNECTIONREFUSED)
        *error = SoundServerMessages::serverStopped();
    else
        *error = QStringLiteral("The microphone stopped: %1.")
                     .arg(QString::fromLocal8Bit(pa_strerror(code)));
    return false;
}

void PulseAudioSource::close()
{
    if (m_stream) {
        pa_simple_free(m_stream);
        m_stream = nullptr;
    }
}
