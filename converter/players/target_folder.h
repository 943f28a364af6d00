// SPDX-License-Identifier: GPL-2.0-or-later
// The device table's TargetFolder ("\VIDEO\Clips"): backslashes (and
// slashes) separate folders, empty parts are dropped, and an empty value
// means the player's root.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> TargetFolderParts(const std::string& targetFolder);

// The folder below `root` that the value names, '/' separated.
std::string JoinTargetFolder(const std::string& root, const std::string& targetFolder);
