#include "PulseAudioSources.h"

#include "SoundServerMessages.h"

#include <QDeadlineTimer>
#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

namespace {

// A server that does not answer within this time is taken for none.
constexpr int kAnswerMs = 3000;

struct Query
{
    QList<SoundSource> inputs;
    QList<SoundSource> monitors;
    QString defaultName;
    int pending = 0;
};

void addSource(pa_context *, const pa_source_info *info, int eol, void *data)
{
    auto *query = static_cast<Query *>(data);
    if (eol) {
        --query->pending;
        return;
    }
    if (!info)
        return;
    const SoundSource source{QString::fromUtf8(info->name),
                             QString::fromUtf8(info->description ? info->description : info->name)};
    (info->monitor_of_sink == PA_INVALID_INDEX ? query->inputs : query->monitors).append(source);
}

void takeServerInfo(pa_context *, const pa_server_info *info, void *data)
{
    auto *query = static_cast<Query *>(data);
    if (info && info->default_source_name)
        query->defaultName = QString::fromUtf8(info->default_source_name);
    --query->pending;
}

// Runs the loop until done() or the deadline; false at the deadline.
template <typename Done> bool runUntil(pa_mainloop *loop, const QDeadlineTimer &deadline, Done done)
{
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        if (pa_mainloop_prepare(loop, int(qMin<qint64>(deadline.remainingTime(), 100)) * 1000) <
                0 ||
            pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
            return false;
    }
    return true;
}

QString connectionMessage(int code)
{
    if (code == PA_ERR_CONNECTIONREFUSED || code == PA_ERR_CONNECTIONTERMINATED ||
        code == PA_ERR_TIMEOUT || code == PA_OK)
        return SoundServerMessages::noServer();
    return QStringLiteral("The sound server cannot be asked for its microphones: %1.")
        .arg(QString::fromLocal8Bit(pa_strerror(code)));
}

} // namespace

PulseAudioSources::PulseAudioSources(const QString &server) : m_server(server) {}

bool PulseAudioSources::list(QList<SoundSource> *sources, QString *defaultName, QString *error)
{
    pa_mainloop *loop = pa_mainloop_new();
    pa_context *context = pa_context_new(pa_mainloop_get_api(loop), "JEV! Voice Command");
    const QByteArray server = m_server.toLocal8Bit();
    const QDeadlineTimer deadline(kAnswerMs);
    Query query;
    bool ok = pa_context_connect(context, server.isEmpty() ? nullptr : server.constData(),
                                 PA_CONTEXT_NOFLAGS, nullptr) >= 0 &&
              runUntil(loop, deadline,
                       [context] {
                           const pa_context_state_t state = pa_context_get_state(context);
                           return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
                       }) &&
              pa_context_get_state(context) == PA_CONTEXT_READY;
    if (ok) {
        query.pending = 2;
        pa_operation_unref(pa_context_get_server_info(context, takeServerInfo, &query));
        pa_operation_unref(pa_context_get_source_info_list(context, addSource, &query));
        ok = runUntil(loop, deadline,
                      [&query, context] {
                          return query.pending == 0 ||
                                 !PA_CONTEXT_IS_GOOD(pa_context_get_state(context));
                      }) &&
             query.pending == 0;
    }
    const int code = pa_context_errno(context);
    pa_context_disconnect(context);
    pa_context_unref(context);
    pa_mainloop_free(loop);
    if (!ok) {
        if (error)
            *error = connectionMessage(code);
        return false;
    }
    QList<SoundSource> all = query.inputs + query.monitors;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i].name == query.defaultName) {
            all.move(i, 0);
            break;
        }
    }
    *sources = all;
    *defaultName = query.defaultName;
    return true;
}
