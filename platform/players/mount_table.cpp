// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/mount_table.h"

#include <fstream>
#include <sstream>

namespace {

std::string DecodeOctalEscapes(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] >= '0' &&
        text[i + 1] <= '3' && text[i + 2] >= '0' && text[i + 2] <= '7' && text[i + 3] >= '0' && text[i + 3] <= '7') {
      out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

// "36 35 8:17 / /media/x rw shared:1 - vfat /dev/sdb1 rw"
std::optional<MountEntry> ParseLine(const std::string& line) {
  std::istringstream in(line);
  std::string id, parent, numbers, root, mountPoint, options, word;
  if (!(in >> id >> parent >> numbers >> root >> mountPoint >> options)) return std::nullopt;
  while (in >> word && word != "-") {
  }
  if (word != "-") return std::nullopt;
  MountEntry entry;
  if (!(in >> entry.fileSystem >> entry.source)) return std::nullopt;
  size_t colon = numbers.find(':');
  if (colon == std::string::npos) return std::nullopt;
  try {
    entry.major = static_cast<unsigned>(std::stoul(numbers.substr(0, colon)));
    entry.minor = static_cast<unsigned>(std::stoul(numbers.substr(colon + 1)));
  } catch (const std::exception&) {
    return std::nullopt;
  }
  entry.root = DecodeOctalEscapes(root);
  entry.mountPoint = DecodeOctalEscapes(mountPoint);
  entry.readOnly = options == "ro" || options.rfind("ro,", 0) == 0;
  entry.source = DecodeOctalEscapes(entry.source);
  return entry;
}

}  // namespace

std::optional<std::vector<MountEntry>> ReadMountTable(const std::string& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::vector<MountEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    if (auto entry = ParseLine(line)) entries.push_back(*entry);
  }
  return entries;
}
