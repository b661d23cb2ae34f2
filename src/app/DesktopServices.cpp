#include "DesktopServices.h"

#include "engine/RunningApps.h"
#include "platform/qt/ProcessShell.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeystrokeSender.h"
#include "platform/x11/X11WindowSystem.h"

DesktopServices::DesktopServices(Prompter &prompter)
    : m_prompter(prompter), m_connection(std::make_unique<X11Connection>()),
      m_windows(std::make_unique<X11WindowSystem>(*m_connection)),
      m_keys(std::make_unique<X11KeystrokeSender>(*m_connection)),
      m_shell(std::make_unique<ProcessShell>()),
      m_runningApps(std::make_unique<RunningApps>(*m_windows))
{}

DesktopServices::~DesktopServices() = default;

EngineServices DesktopServices::engine()
{
    return {m_prompter, *m_windows, *m_keys, *m_shell, *m_runningApps};
}
