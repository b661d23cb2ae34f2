#pragma once

#include "engine/EngineServices.h"
#include "engine/RunningApps.h"
#include "platform/fake/FakeKeystrokeSender.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeWindowSystem.h"
#include "platform/fake/ScriptedPrompter.h"

// The engine's services, all faked, for unit tests.
struct FakeDesktop
{
    ScriptedPrompter prompter;
    FakeWindowSystem windows;
    FakeKeystrokeSender keys;
    FakeShell shell;
    RunningApps runningApps{windows};

    EngineServices services() { return {prompter, windows, keys, shell, runningApps}; }
};
