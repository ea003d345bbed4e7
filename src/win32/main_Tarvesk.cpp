// Tarvesk.exe: the main program.
#include <windows.h>

#include <exception>
#include <new>

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

// Size. When the standard library cannot do what it is asked (too long a string, too large
// a vector, a position past the end), its helpers throw exceptions that carry a message in
// a string of the library's older kind, which brings that whole string implementation with
// it (about 85 KB of this program). Nothing here reads the message: an exception only ever
// ends at a window procedure, which stops every exception alike. These throw the same
// exceptions without the message.
namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char*) { throw bad_alloc(); }   // a size nothing could hold
void __throw_logic_error(const char*) { throw exception(); }
void __throw_out_of_range_fmt(const char*, ...) { throw exception(); }
}  // namespace std
