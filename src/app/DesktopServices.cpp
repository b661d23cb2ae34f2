#include "DesktopServices.h"

#include "engine/RunningApps.h"
#include "platform/qt/ProcessShell.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "platform/x11/X11WindowSystem.h"

#include <QSettings>

DesktopServices::DesktopServices(Prompter &prompter)
    : m_prompter(prompter), m_connection(std::make_unique<X11Connection>()),
      m_windows(std::make_unique<X11WindowSystem>(*m_connection)),
      m_keys(std::make_unique<X11KeystrokeSender>(*m_connection)),
      m_shell(std::make_unique<ProcessShell>()),
      m_runningApps(std::make_unique<RunningApps>(*m_windows))
{
    // For users who keep one record per window title: a changed title is another application.
    if (QSettings().value(QStringLiteral("Engine/ExactTitles"), false).toBool())
        m_runningApps->setWindowMatching(RunningApps::WindowMatching::ExactTitle);
}

DesktopServices::~DesktopServices() = default;

EngineServices DesktopServices::engine()
{
    return {m_prompter, *m_windows, *m_keys, *m_shell, *m_runningApps};
}
