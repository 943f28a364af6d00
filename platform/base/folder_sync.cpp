// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/folder_sync.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return synced;
}
