#pragma once

class KeystrokeSender;
class Prompter;
class RunningApps;
class Shell;
class WindowSystem;

// The platform services the engine works through, chosen at start (X11 and processes in the
// program, fakes in tests).
struct EngineServices
{
    Prompter &prompter;
    WindowSystem &windows;
    KeystrokeSender &keys;
    Shell &shell;
    RunningApps &runningApps;
};
