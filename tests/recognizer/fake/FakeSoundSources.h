#pragma once

#include "recognizer/audio/SoundSources.h"

// A sound server that a test sets up: its sources and default, or no server at all.
class FakeSoundSources : public SoundSources
{
public:
    // The sources in the server's order; the default is listed first, as the real one does.
    void setSources(const QList<SoundSource> &sources, const QString &defaultName);
    // The next lists fail with this message; empty: they succeed.
    void setError(const QString &message) { m_error = message; }

    bool list(QList<SoundSource> *sources, QString *defaultName, QString *error) override;

private:
    QList<SoundSource> m_sources;
    QString m_default;
    QString m_error;
};
