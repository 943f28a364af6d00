// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/trusted_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kPartFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

// Closes a descriptor without losing the errno of the failure being reported.
void CloseKeepingErrno(int fd) {
  const int saved = errno;
  close(fd);
  errno = saved;
}

// Enters one part of the walk; `shown` is the path up to that part.
int EnterPart(int folder, const std::string& part, bool create, const std::string& shown,
              std::string* untrustedLink) {
  int fd = openat(folder, part.c_str(), kPartFlags | O_NOFOLLOW);
  if (fd < 0 && errno == ENOENT && create) {
    if (mkdirat(folder, part.c_str(), 0777) != 0 && errno != EEXIST) return -1;
    fd = openat(folder, part.c_str(), kPartFlags | O_NOFOLLOW);
  }
  if (fd >= 0 || (errno != ELOOP && errno != ENOTDIR)) return fd;
  struct stat link {};
  struct stat holder {};
  if (fstatat(folder, part.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(link.st_mode)) {
    errno = ENOTDIR;
    return -1;
  }
  if (fstat(folder, &holder) != 0) return -1;
  if (!IsTrustedLink(link, holder)) {
    if (untrustedLink != nullptr) *untrustedLink = shown;
    errno = EACCES;
    return -1;
  }
  return openat(folder, part.c_str(), kPartFlags);
}

}  // namespace

bool IsTrustedLink(const struct stat& link, const struct stat& holder) {
  if (link.st_uid == geteuid() || link.st_uid == 0) return true;
  // Only a folder others can write to can hold a link they planted.
  const bool shared = (holder.st_mode & (S_IWGRP | S_IWOTH | S_ISVTX)) != 0;
  return !shared;
}

int OpenFolderNoForeignLinks(const std::string& path, bool create, std::string* untrustedLink) {
  if (path.empty()) {
    errno = ENOENT;
    return -1;
  }
  int fd = open(path.front() == '/' ? "/" : ".", kPartFlags);
  for (size_t begin = 0; fd >= 0 && begin < path.size();) {
    size_t end = path.find('/', begin);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(begin, end - begin);
    begin = end + 1;
    if (part.empty() || part == ".") continue;
    const int next = EnterPart(fd, part, create, path.substr(0, end), untrustedLink);
    CloseKeepingErrno(fd);
    fd = next;
  }
  if (fd < 0) return -1;
  // A readable descriptor can be locked and listed; a folder that may only
  // be passed through keeps its path descriptor.
  const int readable = openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (readable < 0) return fd;
  close(fd);
  return readable;
}
