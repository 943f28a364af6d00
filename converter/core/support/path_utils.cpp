// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/path_utils.h"

#include "platform/base/trusted_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace {

// Result of a text that is not valid in the expected encoding.
constexpr HRESULT kNoUnicodeTranslation = static_cast<HRESULT>(0x80070459u);

enum class PathKind { kMissing, kFolder, kOther };

PathKind KindOf(const std::string& path) {
  struct stat info{};
  if (::stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kOther;
}

// Length of the UTF-8 sequence that starts with `lead`, 0 when it cannot start one.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

bool CreateDirectoryTree(const std::string& path, int* error, std::string* untrustedLink) {
  if (path.empty()) return false;
  // Only the last part may be a file name; a part followed by a separator
  // is a folder whatever its name.
  std::string folders = path;
  if (path.back() != '/' && IsFilePath(path)) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return true;
    folders.resize(slash + 1);
  }
  const int fd = OpenFolderNoForeignLinks(folders, true, untrustedLink);
  if (fd < 0) {
    if (error != nullptr) *error = errno;
    return false;
  }
  ::close(fd);
  return true;
}

bool FileExists(const std::string& path) { return KindOf(path) != PathKind::kMissing; }

bool IsFilePath(const std::string& path) {
  const PathKind kind = KindOf(path);
  if (kind != PathKind::kMissing) return kind == PathKind::kOther;
  for (size_t i = path.size(); i > 0; --i) {
    if (path[i - 1] == '/') return false;
    if (path[i - 1] == '.') return true;
  }
  return true;
}

bool IsExistingDriveRoot(const std::string& path) { return path == "/" && FileExists(path); }

std::string GetModuleFolder() {
  static std::mutex mutex;
  static std::string cached;
  std::lock_guard<std::mutex> lock(mutex);
  if (cached.empty()) {
    std::error_code failed;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed && program.has_parent_path()) {
      cached = program.parent_path().string();
      if (cached.back() != '/') cached += '/';
    }
  }
  return cached;
}

std::string GetDataFolder() {
  static const std::string folder = FindDataFolder(GetModuleFolder());
  return folder;
}

std::string FindDataFolder(const std::string& programFolder) {
  if (programFolder.empty()) return programFolder;
  for (const char* relative : {"", "../share/norvik-kdx/"}) {
    std::string folder = (std::filesystem::path(programFolder) / relative).lexically_normal().string();
    if (KindOf(folder + kDeviceTableFileName) == PathKind::kOther) return folder;
  }
  return programFolder;
}

uint32_t GetFileSizeOf(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 0xFFFFFFFFu;
  struct stat info{};
  bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular ? static_cast<uint32_t>(static_cast<uint64_t>(info.st_size)) : 0xFFFFFFFFu;
}

std::string GetFileName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetFileBaseName(const std::string& path) {
  std::string name = GetFileName(path);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name;
  return name.substr(0, dot);
}

std::string GetFileExtension(const std::string& path) {
  size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

char* CopyIfNotEmpty(char* destination, const char* source, size_t maximum) {
  if (source == nullptr || *source == '\0' || destination == nullptr || maximum == 0) return nullptr;
  size_t length = ::strnlen(source, maximum - 1);
  // Step back over a character cut in two by the limit.
  if (length == maximum - 1 && source[length] != '\0') {
    size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(source[start]) & 0xC0) == 0x80) --start;
    if (start + SequenceLength(static_cast<unsigned char>(source[start])) > length) length = start;
  }
  std::memcpy(destination, source, length);
  destination[length] = '\0';
  return destination;
}

HRESULT AnsiToWide(const char* text, std::wstring* out) {
  if (text == nullptr || out == nullptr) return E_INVALIDARG;
  std::wstring wide;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  while (*bytes != 0) {
    size_t length = SequenceLength(*bytes);
    if (length == 0) return kNoUnicodeTranslation;
    uint32_t code = length == 1 ? *bytes : (*bytes & (0xFFu >> (length + 1)));
    for (size_t i = 1; i < length; ++i) {
      if ((bytes[i] & 0xC0) != 0x80) return kNoUnicodeTranslation;
      code = (code << 6) | (bytes[i] & 0x3Fu);
    }
    bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) return kNoUnicodeTranslation;
    wide.push_back(static_cast<wchar_t>(code));
    bytes += length;
  }
  *out = std::move(wide);
  return S_OK;
}
