// SPDX-License-Identifier: GPL-2.0-or-later
// Tidying the temporary folder when the program closes.
#pragma once

#include <string>

// Removes the regular files of `folder` whose names start with `prefix` and
// that belong to the current user; folders, links and other users' files
// stay. Failures are ignored. Returns how many files were removed.
int RemoveOwnTempFiles(const std::string& folder, const std::string& prefix);
