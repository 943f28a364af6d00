// SPDX-License-Identifier: GPL-2.0-or-later
// What start-up decided about players, carried from the gate to the main
// window and its player detection. A default one means no player support,
// which is what a window opened without start-up (a test, a tool) gets.
#pragma once

struct PlayerSupport {
  bool m_bDeviceSupport = false;  // player support (detection, transfer)
  bool m_bWMDMPath = false;       // players reached as portable devices rather than as drives
};
