#pragma once
// Every Windows service the main program's logic uses, in one place.
#include "platform/Platform.h"
#include "win32/RegistryRunRegistration.h"
#include "win32/RegistrySettingsStore.h"
#include "win32/ShellTray.h"
#include "win32/Win32BlockAllocator.h"
#include "win32/Win32HelpEngine.h"
#include "win32/Win32MemoryStatus.h"
#include "win32/Win32MessageBox.h"
#include "win32/Win32ProgramInfo.h"
#include "win32/Win32SessionControl.h"

namespace tarvesk {

struct Win32Services {
    Win32MemoryStatus memory;
    Win32BlockAllocator blocks;
    ShellTray tray;
    RegistrySettingsStore settings;
    RegistryRunRegistration run;
    Win32SessionControl session;
    Win32HelpEngine help;
    Win32MessageBox messages;
    Win32ProgramInfo program;
};

}  // namespace tarvesk
