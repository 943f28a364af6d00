// SPDX-License-Identifier: GPL-2.0-or-later
// The two main-window updates both detection paths share.
#pragma once

#include <string>

class PlayerWindow;

// Status-line formats of a newly detected player (five spaces before the name).
constexpr const char* kDeviceDetectedFormat = "Device Detected:     %s";
constexpr const char* kPlayerDetectedFormat = "Player Detected:     %s";

// Shows a newly detected player and offers the transfer to it. With
// checkConversion while a conversion runs, the option is offered only when
// the player is of the selected model, and the selector stays as it is;
// otherwise the player's model is selected and the selector locked.
void AnnouncePlayer(PlayerWindow& window, const char* textFormat, const std::string& modelName, bool checkConversion);

// Shows that no supported player is left and withdraws the transfer.
void ShowNoPlayer(PlayerWindow& window);

// A text format with one "%s" filled with a name.
std::string FormatWithName(const char* textFormat, const std::string& modelName);
