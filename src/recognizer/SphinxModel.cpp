#include "SphinxModel.h"

#include "PhraseSearch.h"

#include <QFileInfo>
#include <QList>

#include <pocketsphinx.h>
#include <sphinxbase/err.h>

namespace {

QList<QByteArray> decoderArguments(const QString &hmm, const QString &dict,
                                   const QStringList &extra)
{
    QList<QByteArray> arguments{"jev", "-hmm", hmm.toLocal8Bit(), "-dict", dict.toLocal8Bit()};
    // The engine's own detector decides what is speech; the library decodes all it is given.
    // No dither: the engine's own noise floor keeps digital silence from the model, and without
    // it an utterance heard a second time is heard exactly as the first time.
    arguments += {"-remove_silence", "no", "-dither", "no"};
    // Each frame scored by the 8 best Gaussians of the model's codebooks instead of the
    // library's 4: noise and talk blur the frames, and the finer scores keep more commands
    // apart from each other and from the phone loop (measured with bench/recognition, see the
    // README), for about a sixth more decoding time. The codebooks are searched in full on every
    // frame (the library's -ds 1): every second frame lost commands over talk.
    arguments += {"-topn", "8"};
    arguments += PhraseSearch::decoderArguments();
    for (qsizetype i = 0; i + 1 < extra.size(); i += 2) {
        if (const qsizetype at = arguments.indexOf(extra[i].toLocal8Bit()); at > 0)
            arguments.remove(at, 2);
        arguments += {extra[i].toLocal8Bit(), extra[i + 1].toLocal8Bit()};
    }
    return arguments;
}

} // namespace

ps_decoder_s *SphinxModel::load(const QString &modelDir, const QStringList &extra, QString *error)
{
    const QString hmm = modelDir + QStringLiteral("/en-us");
    const QString dict = modelDir + QStringLiteral("/cmudict-en-us.dict");
    if (!QFileInfo(hmm + QStringLiteral("/mdef")).isFile() || !QFileInfo(dict).isFile()) {
        if (error)
            *error = QStringLiteral("The speech model is missing from %1 (the Debian package "
                                    "pocketsphinx-en-us provides it).")
                         .arg(modelDir);
        return nullptr;
    }
    // The library logs every step to standard error; the program reports its own errors.
    err_set_logfp(nullptr);
    QList<QByteArray> arguments = decoderArguments(hmm, dict, extra);
    QList<char *> argv;
    for (QByteArray &argument : arguments)
        argv.append(argument.data());
    ps_decoder_t *ps = nullptr;
    cmd_ln_t *config = cmd_ln_parse_r(nullptr, ps_args(), int(argv.size()), argv.data(), TRUE);
    if (config) {
        ps = ps_init(config);
        cmd_ln_free_r(config);
    }
    if (!ps && error)
        *error = QStringLiteral("The speech model in %1 cannot be loaded.").arg(modelDir);
    return ps;
}
