/* Resource ids of the two programs. Plain numbers only: windres reads this file
   for the .rc files, and C++ code includes it to load the resources.

   IDI_WARNING and IDC_HAND are also names of system resources in <windows.h>.
   Here they name the program's own picture and cursor, so include this file
   after <windows.h>; it takes the system meanings away. */
#ifndef TARVESK_RESOURCE_IDS_H
#define TARVESK_RESOURCE_IDS_H

#ifdef IDI_WARNING
#undef IDI_WARNING
#endif
#ifdef IDC_HAND
#undef IDC_HAND
#endif

/* Tarvesk.exe */
#define IDI_PROGRAM        1   /* the program's own icon, 256 colours, 16 to 64 px and 256 px */
#define IDI_CHIP           101 /* memory chip: window icon and first tray icon, 16 to 64 px */
#define IDI_GAUGE_HALF     102 /* tray gauge: bottom two slots green */
#define IDI_GAUGE_QUARTER  103 /* tray gauge: bottom slot yellow */
#define IDI_GAUGE_LOW      104 /* tray gauge: a red line at the bottom */
#define IDI_GAUGE_EMPTY    105 /* tray gauge: all slots empty */
#define IDI_GAUGE_HIGH     106 /* tray gauge: two and two thirds slots green */
#define IDI_WARNING        108 /* warning triangle, shown while memory is being freed */
#define IDC_HAND           201 /* pointing hand over command buttons, hot spot at the fingertip */

/* TarveskA.exe, the start-up agent */
#define IDI_AGENT          1   /* the agent's own icon, 16 colours, 16 to 64 px and 256 px */

#endif
