// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/file_identity.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace kdx {

namespace {

std::optional<FileIdentity> FromStat(int result, const struct stat& info) {
  if (result != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path, bool followLinks) {
  struct stat info {};
  return FromStat(followLinks ? stat(path.c_str(), &info) : lstat(path.c_str(), &info), info);
}

std::optional<FileIdentity> IdentityAt(int folder, const std::string& name) {
  struct stat info {};
  return FromStat(fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW), info);
}

}  // namespace kdx
