#pragma once
// Every Windows service the main program's logic uses, in one place.
#include "platform/Platform.h"
#include "win32/Win32MemoryStatus.h"

#if __has_include("win32/Win32BlockAllocator.h")
#include "win32/Win32BlockAllocator.h"
#define TARVESK_HAVE_BLOCKS 1
#endif
#if __has_include("win32/ShellTray.h")
#include "win32/ShellTray.h"
#define TARVESK_HAVE_TRAY 1
#endif
#if __has_include("win32/RegistrySettingsStore.h")
#include "win32/RegistrySettingsStore.h"
#define TARVESK_HAVE_SETTINGS 1
#endif
#if __has_include("win32/RegistryRunRegistration.h")
#include "win32/RegistryRunRegistration.h"
#define TARVESK_HAVE_RUN 1
#endif
#if __has_include("win32/Win32SessionControl.h")
#include "win32/Win32SessionControl.h"
#define TARVESK_HAVE_SESSION 1
#endif
#if __has_include("win32/Win32HelpEngine.h")
#include "win32/Win32HelpEngine.h"
#define TARVESK_HAVE_HELP 1
#endif
#if __has_include("win32/Win32MessageBox.h")
#include "win32/Win32MessageBox.h"
#define TARVESK_HAVE_MESSAGES 1
#endif
#if __has_include("win32/Win32ProgramInfo.h")
#include "win32/Win32ProgramInfo.h"
#define TARVESK_HAVE_PROGRAM 1
#endif

namespace tarvesk {

namespace stand_in {
struct Blocks : BlockAllocator {
    std::unique_ptr<MemoryBlock> obtainWritten(std::uint64_t) override { return nullptr; }
};
struct Tray : TrayShell {
    bool notify(TrayCommand, const TrayIconRecord&) override { return false; }
    std::uint32_t recordSize() const override { return 88; }
};
struct Settings : SettingsStore {
    std::string GetSetting(std::string_view, std::string_view, std::string_view,
                           std::string_view d) override { return std::string(d); }
    bool SaveSetting(std::string_view, std::string_view, std::string_view, std::string_view) override { return false; }
};
struct Run : RunRegistration {
    RunKeyOpenResult open() override { return {}; }
};
struct Session : SessionControl {
    void exitWindows(SessionEnd) override {}
};
struct Help : HelpEngine {
    void showContents(std::uintptr_t, const std::string&) override {}
};
struct Messages : MessageBoxService {
    void show(const std::string&, const std::string&, unsigned) override {}
};
struct Program : ProgramInfo {
    std::string folder() override { return "."; }
    char decimalSeparator() override { return '.'; }
};
}  // namespace stand_in

struct Win32Services {
    Win32MemoryStatus memory;
#ifdef TARVESK_HAVE_BLOCKS
    Win32BlockAllocator blocks;
#else
    stand_in::Blocks blocks;
#endif
#ifdef TARVESK_HAVE_TRAY
    ShellTray tray;
#else
    stand_in::Tray tray;
#endif
#ifdef TARVESK_HAVE_SETTINGS
    RegistrySettingsStore settings;
#else
    stand_in::Settings settings;
#endif
#ifdef TARVESK_HAVE_RUN
    RegistryRunRegistration run;
#else
    stand_in::Run run;
#endif
#ifdef TARVESK_HAVE_SESSION
    Win32SessionControl session;
#else
    stand_in::Session session;
#endif
#ifdef TARVESK_HAVE_HELP
    Win32HelpEngine help;
#else
    stand_in::Help help;
#endif
#ifdef TARVESK_HAVE_MESSAGES
    Win32MessageBox messages;
#else
    stand_in::Messages messages;
#endif
#ifdef TARVESK_HAVE_PROGRAM
    Win32ProgramInfo program;
#else
    stand_in::Program program;
#endif
};

}  // namespace tarvesk
