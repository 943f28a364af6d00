// SPDX-License-Identifier: GPL-2.0-or-later
// Names of the temporaries made beside a result: a prefix no one else uses
// and six random letters or digits. A sweep for leftovers finds them by
// that form alone, then decides by their lock whether they are dead.
#pragma once

#include <string>
#include <vector>

std::string RandomTemporaryName(const std::string& prefix);
bool IsTemporaryName(const std::string& name, const std::string& prefix);

// The names of such entries in the open folder: its folders, or else its
// regular files (as far as the listing tells; the caller checks again).
std::vector<std::string> TemporaryNamesIn(int folder, const std::string& prefix, bool folders);
