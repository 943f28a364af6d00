// SPDX-License-Identifier: GPL-2.0-or-later
// Copying a file onto a player so that a failure never costs the copy
// already there: the data goes to a temporary beside the target, is flushed
// to the device with the folder entry, and only then replaces the old file.
//
// The temporary is named ".kdx-copy-XXXXXX", a name only this program
// gives, and is locked for as long as its copy runs. A copy that was killed
// leaves an unlocked one, which the next copy into the folder removes; the
// temporary of a copy still running stays, and so does every other file,
// whatever its name looks like.
#pragma once

#include <string>

// Copies `source` as `name` into `folder`, open at `folderPath`. Every step
// works inside the open folder, so a link put in its place meanwhile leads
// nowhere else; and the copy takes its name only while the path still leads
// to that folder (ENOENT otherwise: the volume went, or the folder was
// moved). False with errno in *error (when given) on failure; the target
// is then unchanged and no temporary is left.
bool CopyFileReplacing(const std::string& source, int folder, const std::string& folderPath, const std::string& name,
                       int* error);
