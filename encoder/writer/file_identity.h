// SPDX-License-Identifier: GPL-2.0-or-later
// Which file a name stands for (device and inode), so two names of one file
// (links, "..") compare equal and a file that took another's place is told
// apart from it.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace kdx {

struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The file at `path`: with followLinks the file a link points to, else the
// name's own entry (a link is itself). None when nothing is there.
std::optional<FileIdentity> IdentityOf(const std::string& path, bool followLinks);

// The entry `name` of an open folder, links not followed.
std::optional<FileIdentity> IdentityAt(int folder, const std::string& name);

}  // namespace kdx
