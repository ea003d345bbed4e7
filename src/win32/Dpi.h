#pragma once
// Dots per inch: the process's awareness, and the DPI of the system, of a window and of a
// place on the screen. The functions for this came with later versions of Windows; they are
// all found here at run time (SystemFunction), and each answer falls back to what older
// Windows knows (one DPI for the whole screen).
#include <windows.h>

namespace tarvesk::dpi {

constexpr int kStandard = 96;   // 100 %: 15 twips to a pixel

// Twips to pixels at a DPI (1440 twips to the inch).
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// Makes the process DPI aware where the manifest has not already done so: per monitor
// (version 2, else the first version) where Windows has it, else system-wide.
void BecomeAware();

// The system DPI: the primary screen's when the user logged on.
int ForSystem();
// The DPI a window is drawn at: its monitor's for a per-monitor aware process.
int ForWindow(HWND window);
// The DPI of the monitor that holds the largest part of a rectangle of screen pixels.
int ForRect(const RECT& screen);

// AdjustWindowRectEx for a window at `dpi` (its frame, caption and menu bar scale with it).
void AdjustWindowRect(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, int dpi);
// GetSystemMetrics at `dpi`.
int SystemMetric(int index, int dpi);

}  // namespace tarvesk::dpi
