// SPDX-License-Identifier: GPL-2.0-or-later
// Whether the desktop program has a screen to show its window on. Qt ends a
// program it cannot connect to a display with an abort (and a core file);
// asked first, the program can say so in one line instead.
#pragma once

// True when the environment names a display: QT_QPA_PLATFORM choosing a
// platform that needs none (offscreen, vnc, ...), or one whose display
// variable is set; otherwise WAYLAND_DISPLAY or DISPLAY.
bool HasDisplay();

// The line the desktop program prints when there is none.
inline constexpr char kNoDisplayText[] =
    "norvik-kdx-converter: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); start it "
    "in a desktop session, or convert with kdxconvert.";
