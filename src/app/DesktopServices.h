#pragma once

#include "engine/EngineServices.h"

#include <memory>

class Prompter;
class ProcessShell;
class RunningApps;
class X11Connection;
class X11KeystrokeSender;
class X11WindowSystem;

// The real platform services of the program: X11 windows and keystrokes, processes and xdg-open
// for the shell, and the running-application table they share. The X display is opened only
// when something first needs it, so tasks that only edit data files work without one.
class DesktopServices
{
public:
    explicit DesktopServices(Prompter &prompter);
    ~DesktopServices();

    EngineServices engine();
    X11WindowSystem &windows() { return *m_windows; }
    X11KeystrokeSender &keys() { return *m_keys; }
    RunningApps &runningApps() { return *m_runningApps; }

private:
    Prompter &m_prompter;
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<X11WindowSystem> m_windows;
    std::unique_ptr<X11KeystrokeSender> m_keys;
    std::unique_ptr<ProcessShell> m_shell;
    std::unique_ptr<RunningApps> m_runningApps;
};
