#include "ConfigWindows.h"

#include "VocabularyPlaceholder.h"
#include "frmApp.h"

ConfigWindows::ConfigWindows(const Context &context) : m_context(context) {}

ConfigWindows::~ConfigWindows() = default;

frmApp &ConfigWindows::app()
{
    if (m_app && m_app->isUnloaded())
        m_app.reset();
    if (!m_app)
        m_app = std::make_unique<frmApp>(*this, m_context.owner);
    return *m_app;
}

bool ConfigWindows::appVisible() const
{
    return m_app && !m_app->isUnloaded() && m_app->isVisible();
}

VocabularyWindow &ConfigWindows::vocabulary()
{
    if (!m_vocabulary)
        m_vocabulary = std::make_unique<VocabularyPlaceholder>(m_context.owner);
    return *m_vocabulary;
}

VocabularyWindow *ConfigWindows::loadedVocabulary()
{
    return m_vocabulary.get();
}

void ConfigWindows::unloadAll()
{
    if (m_app && !m_app->isUnloaded())
        m_app->unload();
    m_vocabulary.reset();
}
