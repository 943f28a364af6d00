// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/player_file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Where an open folder really lies, links resolved.
std::string RealPathOf(int fd) {
  std::error_code error;
  return fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
}

bool IsWithin(const std::string& path, const std::string& folder) {
  if (folder == "/") return true;
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
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

int OpenPlayerFolder(const std::string& mountPoint, const std::string& folder) {
  std::error_code error;
  const std::string root = fs::canonical(mountPoint, error).string();
  if (error) {
    errno = error.value();
    return -1;
  }
  const int opened = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (opened < 0) return -1;
  // Every later step works inside the folder opened now, wherever the path
  // leads meanwhile.
  if (!IsWithin(RealPathOf(opened), root)) {
    ::close(opened);
    errno = EXDEV;
    return -1;
  }
  return opened;
}

bool CopyToPlayerFolder(const std::string& source, const std::string& mountPoint, const std::string& folder,
                        const std::string& fileSystem, int* error) {
  struct stat info {};
  if (::stat(source.c_str(), &info) != 0) {
    *error = errno;
    return false;
  }
  if (static_cast<uint64_t>(info.st_size) > LargestPlayerFile(fileSystem)) {
    *error = EFBIG;
    return false;
  }
  const int opened = OpenPlayerFolder(mountPoint, folder);
  if (opened < 0) {
    *error = errno;
    return false;
  }
  const std::string name = PlayerFileName(fs::path(source).filename().string(), fileSystem);
  const bool copied = CopyFileReplacing(source, opened, folder, name, error);
  ::close(opened);
  return copied;
}
