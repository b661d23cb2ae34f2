#include "FakeSoundSources.h"

void FakeSoundSources::setSources(const QList<SoundSource> &sources, const QString &defaultName)
{
    m_sources = sources;
    m_default = defaultName;
    for (qsizetype i = 0; i < m_sources.size(); ++i) {
        if (m_sources[i].name == defaultName)
            m_sources.move(i, 0);
    }
}

bool FakeSoundSources::list(QList<SoundSource> *sources, QString *defaultName, QString *error)
{
    if (!m_error.isEmpty()) {
        *error = m_error;
        return false;
    }
    *sources = m_sources;
    *defaultName = m_default;
    return true;
}
