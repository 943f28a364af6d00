// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/temporary_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <random>

namespace {

constexpr size_t kRandomLetters = 6;

}  // namespace

std::string RandomTemporaryName(const std::string& prefix) {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::string name = prefix;
  for (size_t i = 0; i < kRandomLetters; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name;
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kRandomLetters || !name.starts_with(prefix)) return false;
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
}

std::vector<std::string> TemporaryNamesIn(int folder, const std::string& prefix, bool folders) {
  std::vector<std::string> names;
  const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return names;
  DIR* dir = ::fdopendir(listing);
  if (dir == nullptr) {
    ::close(listing);
    return names;
  }
  const unsigned char wanted = folders ? DT_DIR : DT_REG;
  while (const dirent* entry = ::readdir(dir)) {
    if ((entry->d_type == wanted || entry->d_type == DT_UNKNOWN) && IsTemporaryName(entry->d_name, prefix))
      names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  return names;
}
