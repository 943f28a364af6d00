// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/target_folder.h"

std::vector<std::string> TargetFolderParts(const std::string& targetFolder) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : targetFolder + "\\") {
    if (c != '\\' && c != '/') {
      part += c;
    } else if (!part.empty()) {
      parts.push_back(part);
      part.clear();
    }
  }
  return parts;
}

std::string JoinTargetFolder(const std::string& root, const std::string& targetFolder) {
  std::string folder = root;
  for (const std::string& part : TargetFolderParts(targetFolder)) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    folder += part;
  }
  return folder;
}
