// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/temp_files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

int RemoveOwnTempFiles(const std::string& folder, const std::string& prefix) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return 0;
  int removed = 0;
  const uid_t user = getuid();
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string path = folder + "/" + name;
    struct stat info {};
    // lstat: a link named like ours is never followed to someone's file.
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != user) continue;
    if (unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}
