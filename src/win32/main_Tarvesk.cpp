// Tarvesk.exe: the main program.
#include <windows.h>

#include "mainwindow/frmMain.h"
#include "mainwindow/modMain.h"
#include "win32/Win32FormHost.h"
#include "win32/Win32MemoryStatus.h"
#include "win32/Win32Services.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace tarvesk;
    Win32FormHost host(instance);
    Win32Services services;
    Platform platform{services.memory, services.blocks, services.tray,     services.settings,
                      services.run,    services.session, services.help,    services.messages,
                      services.program, host};
    modMain shared;
    frmMain main(platform, shared);
    main.load();
    if (main.loaded() && !main.inTrayMode()) main.show();
    return host.run();
}
