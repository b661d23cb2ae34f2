#include "ConfigWindows.h"

#include "frmApp.h"
#include "frmVocab.h"

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

frmApp *ConfigWindows::loadedApp()
{
    return m_app && !m_app->isUnloaded() ? m_app.get() : nullptr;
}

bool ConfigWindows::appVisible() const
{
    return m_app && !m_app->isUnloaded() && m_app->isVisible();
}

VocabularyWindow &ConfigWindows::vocabulary()
{
    if (m_vocabulary && m_vocabulary->isUnloaded())
        m_vocabulary.reset();
    if (!m_vocabulary)
        m_vocabulary = std::make_unique<frmVocab>(*this, m_context.owner);
    return *m_vocabulary;
}

VocabularyWindow *ConfigWindows::loadedVocabulary()
{
    return m_vocabulary && !m_vocabulary->isUnloaded() ? m_vocabulary.get() : nullptr;
}

void ConfigWindows::unloadAll()
{
    if (m_vocabulary && !m_vocabulary->isUnloaded())
        m_vocabulary->unload();
    if (m_app && !m_app->isUnloaded())
        m_app->unload();
}
