// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/videos_folder.h"

#include <cstdlib>
#include <fstream>

#include "converter/core/support/path_utils.h"
#include "platform/base/home_folder.h"

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// XDG_VIDEOS_DIR="$HOME/Movies" in the user's folder list; empty when absent.
std::string FolderFromUserDirs(const std::string& home) {
  std::string config = Environment("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = home + "/.config";
  std::ifstream in(config + "/user-dirs.dirs");
  const std::string key = "XDG_VIDEOS_DIR=\"";
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) != 0 || line.back() != '"') continue;
    std::string value = line.substr(key.size(), line.size() - key.size() - 1);
    if (value.compare(0, 5, "$HOME") == 0) return home + value.substr(5);
    return value.empty() || value[0] != '/' ? std::string() : value;
  }
  return {};
}

}  // namespace

std::string UserVideosFolder() {
  std::string folder = Environment("XDG_VIDEOS_DIR");
  std::string home = HomeFolder();
  if (folder.empty() || folder[0] != '/') {
    if (home.empty()) return {};
    folder = FolderFromUserDirs(home);
    if (folder.empty()) folder = home + "/Videos";
  }
  int error = 0;
  return CreateDirectoryTree(folder + "/", &error) ? folder : std::string();
}
