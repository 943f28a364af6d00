// SPDX-License-Identifier: GPL-2.0-or-later
// Copying a converted file into a folder on a player's volume: what the
// volume's file system refuses is settled before any byte is written, and
// nothing is written anywhere but on that volume.
#pragma once

#include <cstdint>
#include <string>

// The name a file gets on a file system of that type: on FAT and exFAT
// (and FUSE block volumes, which are mostly exFAT) the characters they
// refuse become '_', always the same way, so a copy replaces the last one.
std::string PlayerFileName(const std::string& name, const std::string& fileSystem);

// The largest file the file system holds; UINT64_MAX when it sets no limit
// of its own (FAT: 4 GiB less one byte).
uint64_t LargestPlayerFile(const std::string& fileSystem);

// Opens `folder`, a folder on the volume mounted at `mountPoint`; links on
// the way count only when they lead to a folder on that same volume. The
// descriptor, or -1 with errno: EXDEV for a folder that lies elsewhere.
int OpenPlayerFolder(const std::string& mountPoint, const std::string& folder);

// Copies `source` into `folder` on the volume mounted at `mountPoint`
// under its own name made safe for the file system, replacing an older
// copy only once the new one is complete. False with errno in *error:
// EFBIG when the file is too large for the file system, EXDEV when the
// folder leads off the volume (nothing is written then).
bool CopyToPlayerFolder(const std::string& source, const std::string& mountPoint, const std::string& folder,
                        const std::string& fileSystem, int* error);
