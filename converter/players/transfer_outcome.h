// SPDX-License-Identifier: GPL-2.0-or-later
// What became of the copy of a converted file to the player, for the row,
// its tooltip and the batch's last status line.
#pragma once

#include <string>

struct TransferOutcome {
  bool attempted = false;  // a player was there and the transfer option ticked
  bool copied = false;
  std::string reason;  // why the copy failed, for the user
};

// The user's words for an errno value a copy to the player ended with.
std::string TransferFailureReason(int error);
