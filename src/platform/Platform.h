#pragma once
#include "forms/Form.h"
#include "platform/BlockAllocator.h"
#include "platform/HelpEngine.h"
#include "platform/MemoryStatus.h"
#include "platform/MessageBox.h"
#include "platform/ProgramInfo.h"
#include "platform/RunRegistration.h"
#include "platform/Session.h"
#include "platform/SettingsStore.h"
#include "platform/TrayShell.h"

namespace tarvesk {

// Everything the main program's logic asks of the platform.
struct Platform {
    MemoryStatusSource& memory;
    BlockAllocator& blocks;
    TrayShell& tray;
    SettingsStore& settings;
    RunRegistration& run;
    SessionControl& session;
    HelpEngine& help;
    MessageBoxService& messages;
    ProgramInfo& program;
    forms::FormHost& forms;
};

}  // namespace tarvesk
