// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/folder_lock.h"

#include <sys/file.h>

FolderLock::FolderLock(int folder) : fd_(folder), locked_(folder >= 0 && flock(folder, LOCK_EX) == 0) {}

FolderLock::~FolderLock() {
  if (locked_) flock(fd_, LOCK_UN);
}
