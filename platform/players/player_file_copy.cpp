#include "platform/players/player_file_copy.h"

#include <strings.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>

#include "platform/players/safe_file_copy.h"

namespace fs = std::filesystem;

namespace {

bool IsFatLike(const std::string& fileSystem) {
  return fileSystem == "vfat" || fileSystem == "msdos" || fileSystem == "exfat" || fileSystem == "fuseblk";
}

// ".clip.kdx.Ab12Cd": the temporary name CopyFileReplacing gives a ".kdx" file.
bool IsInterruptedCopyName(const std::string& name) {
  constexpr size_t kSuffix = 7;  // ".XXXXXX"
  if (name.size() < 1 + 4 + kSuffix || name.front() != '.' || name[name.size() - kSuffix] != '.') return false;
  for (size_t i = name.size() - kSuffix + 1; i < name.size(); ++i) {
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  }
  std::string copied = name.substr(0, name.size() - kSuffix);
  return ::strcasecmp(copied.c_str() + copied.size() - 4, ".kdx") == 0;
}

}  // namespace

std::string PlayerFileName(const std::string& name, const std::string& fileSystem) {
  if (!IsFatLike(fileSystem)) return name;
  std::string safe = name;
  for (char& c : safe) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f || std::strchr("\"*/:<>?\\|", c) != nullptr) c = '_';
  }
  // FAT drops trailing dots and spaces, which would merge names.
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.back() = '_';
  return safe;
}

uint64_t LargestPlayerFile(const std::string& fileSystem) {
  if (fileSystem == "vfat" || fileSystem == "msdos") return 0xFFFFFFFFull;
  return std::numeric_limits<uint64_t>::max();
}

void RemoveInterruptedCopies(const std::string& folder) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    std::error_code ignored;
    if (IsInterruptedCopyName(entry.path().filename().string()) && entry.is_regular_file(ignored))
      fs::remove(entry.path(), ignored);
  }
}

bool CopyToPlayerFolder(const std::string& source, const std::string& folder, const std::string& fileSystem,
                        int* error) {
  struct stat info {};
  if (::stat(source.c_str(), &info) != 0) {
    *error = errno;
    return false;
  }
  if (static_cast<uint64_t>(info.st_size) > LargestPlayerFile(fileSystem)) {
    *error = EFBIG;
    return false;
  }
  RemoveInterruptedCopies(folder);
  std::string name = PlayerFileName(fs::path(source).filename().string(), fileSystem);
  return CopyFileReplacing(source, (fs::path(folder) / name).string(), error);
}
