// SPDX-License-Identifier: GPL-2.0-or-later
// The user's videos folder, the destination when none is configured.
#pragma once

#include <string>

// $XDG_VIDEOS_DIR, else the videos folder named in user-dirs.dirs, else
// ~/Videos; created when missing. Empty when there is no home folder or the
// folder cannot be made.
std::string UserVideosFolder();
