// The About window's behaviour: its icon and its title with the program's version.
#include "mainwindow/frmAbout.h"

#include "mainwindow/about_title.h"
#include "resource_ids.h"
#include "version.h"

namespace tarvesk {

std::string AboutTitle(std::uint16_t major, std::uint16_t minor, std::uint16_t revision) {
    return "About Tarvesk - Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

void frmAbout::Form_Load() {
    setIcon(IDI_CHIP);
    setCaption(AboutTitle(TARVESK_VERSION_MAJOR, TARVESK_VERSION_MINOR, TARVESK_VERSION_REVISION));
}

// Unloading only destroys the window: the main window owns this object and makes a fresh
// one at the next About command.
void frmAbout::cmdClose_Click() { unload(); }

}  // namespace tarvesk
