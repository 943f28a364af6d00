// SPDX-License-Identifier: GPL-2.0-or-later
// Makes a rename or a new name in a folder survive a power cut.
#pragma once

#include <string>

// Flushes the folder's entries to the disk. A file system that cannot flush
// a folder (EINVAL, as some network and FUSE file systems answer) keeps the
// names anyway and counts as flushed.
bool SyncFolder(const std::string& folder);
