// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/private_profile.h"

#include "platform/base/folder_sync.h"
#include "platform/base/home_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace {

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// The lines of the file without their '\n' (a '\r' before it stays); none
// for a file too large to be a settings file.
std::vector<std::string> ReadLines(const std::string& filePath) {
  std::vector<std::string> lines;
  if (IsProfileTooLarge(filePath)) return lines;
  std::ifstream in(filePath, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// The section name of a "[Name]" line.
std::optional<std::string> SectionName(const std::string& line) {
  std::string text = Trim(line);
  if (text.size() < 2 || text.front() != '[') return std::nullopt;
  size_t close = text.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(text.substr(1, close - 1));
}

// The key of a "Key=Value" line.
std::optional<std::string> KeyName(const std::string& line) {
  size_t equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Index of the key's line within the section, or of the section header alone.
struct Location {
  std::optional<size_t> section;
  std::optional<size_t> key;
  size_t sectionEnd = 0;  // one past the section's last key line
};

Location Find(const std::vector<std::string>& lines, const std::string& section, const std::string& key) {
  Location where;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i])) {
      if (where.section) break;
      if (SameName(*name, section)) {
        where.section = i;
        where.sectionEnd = i + 1;
      }
      continue;
    }
    if (!where.section) continue;
    auto name = KeyName(lines[i]);
    if (!name) continue;
    where.sectionEnd = i + 1;
    if (!where.key && SameName(*name, key)) where.key = i;
  }
  return where;
}

// Symbolic links followed from one to the next.
constexpr int kMostLinkHops = 40;

// The file a path finally names: a symbolic link (dotfile managers link
// settings files) is followed to its target, which need not exist yet.
// None for a loop of links.
std::optional<std::filesystem::path> FinalTarget(const std::filesystem::path& path) {
  std::filesystem::path current = path;
  for (int hop = 0; hop < kMostLinkHops; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(current, error)) return current;
    std::filesystem::path target = std::filesystem::read_symlink(current, error);
    if (error) return std::nullopt;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return std::nullopt;
}

// A new file beside `target`, created with `mode` (less the umask); -1 on failure.
int CreateBeside(const std::string& target, mode_t mode, std::string* name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = target + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
    int fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Replaces the file in one step (through a new file renamed over it), so a
// reader sees either the old text or the new. An existing file keeps its
// mode and, where allowed, its owner.
bool ReplaceFile(const std::filesystem::path& resolved, const std::string& text) {
  const std::string target = resolved.string();
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  std::string temporary;
  int fd = CreateBeside(target, 0666, &temporary);
  if (fd < 0) return false;
  if (exists) {
    (void)!::fchown(fd, existing.st_uid, existing.st_gid);
    (void)::fchmod(fd, existing.st_mode & 07777);
  }
  bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  // The new text is in place; flushing its name only guards against a power cut.
  (void)SyncFolder(resolved.has_parent_path() ? resolved.parent_path().string() : ".");
  return true;
}

constexpr int kMostLockAttempts = 100;

// An exclusive lock on the settings file from its reading to its
// replacement, so two programs saving at once keep each other's changes.
// Each save replaces the file: a lock won on a file that was replaced
// meanwhile is taken again on the new one. Where nothing can be locked (a
// file system without locks) the save goes ahead unlocked.
class ProfileLock {
 public:
  explicit ProfileLock(const std::string& target) {
    for (int attempt = 0; attempt < kMostLockAttempts; ++attempt) {
      fd_ = ::open(target.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
      if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0) return;
      struct stat locked {};
      struct stat named {};
      if (::fstat(fd_, &locked) != 0 || ::stat(target.c_str(), &named) != 0 ||
          (locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)) {
        return;
      }
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~ProfileLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  ProfileLock(const ProfileLock&) = delete;
  ProfileLock& operator=(const ProfileLock&) = delete;

 private:
  int fd_ = -1;
};

// A value holding a NUL is damage, not text: it counts as missing.
std::optional<std::string> ReadValue(const std::string& section, const std::string& key,
                                     const std::string& filePath) {
  std::vector<std::string> lines = ReadLines(filePath);
  Location where = Find(lines, section, key);
  if (!where.key) return std::nullopt;
  const std::string& line = lines[*where.key];
  std::string value = Unquote(Trim(line.substr(line.find('=') + 1)));
  if (value.find('\0') != std::string::npos) return std::nullopt;
  return value;
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

}  // namespace

std::string ProfileFilePath(const std::string& fileName) {
  if (const char* dir = std::getenv("NKDX_CONFIG_DIR"); dir != nullptr && *dir != '\0') {
    return std::string(dir) + "/" + fileName;
  }
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
    return std::string(config) + "/" + fileName;
  }
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.config/" + fileName;
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& filePath) {
  return ReadValue(section, key, filePath).value_or(defaultValue);
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& filePath) {
  std::optional<std::string> value = ReadValue(section, key, filePath);
  if (!value) return defaultValue;
  errno = 0;
  const long number = std::strtol(value->c_str(), nullptr, 10);
  // A number no int holds would come back wrapped round to another one.
  if (errno == ERANGE || number < INT_MIN || number > INT_MAX) return defaultValue;
  return static_cast<int>(number);
}

bool IsProfileTooLarge(const std::string& filePath) {
  struct stat info {};
  return ::stat(filePath.c_str(), &info) == 0 && info.st_size > kLargestProfileFile;
}

namespace {

bool IsWritable(const std::string& section, const ProfileEntries& entries) {
  // Such names or values could not be read back as written.
  if (HasLineBreak(section) || section.find(']') != std::string::npos) return false;
  return std::all_of(entries.begin(), entries.end(), [](const auto& entry) {
    return !HasLineBreak(entry.first) && !HasLineBreak(entry.second) && entry.first.find('=') == std::string::npos;
  });
}

void SetValue(std::vector<std::string>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
  // New lines follow the file's own line ends.
  std::string lineEnd = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r' ? "\r" : "";
  std::string entry = key + "=" + value + lineEnd;
  Location where = Find(lines, section, key);
  if (where.key) {
    lines[*where.key] = entry;
  } else if (where.section) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(where.sectionEnd), entry);
  } else {
    lines.push_back("[" + section + "]" + lineEnd);
    lines.push_back(entry);
  }
}

}  // namespace

bool WritePrivateProfileStrings(const std::string& section, const ProfileEntries& entries,
                                const std::string& filePath) {
  if (filePath.empty() || !IsWritable(section, entries)) return false;
  // A link is kept and its target replaced.
  std::optional<std::filesystem::path> resolved = FinalTarget(filePath);
  if (!resolved) return false;
  std::error_code ignored;
  if (resolved->has_parent_path()) std::filesystem::create_directories(resolved->parent_path(), ignored);
  ProfileLock lock(resolved->string());
  // Rewriting it would drop what it holds; it stays as it is.
  if (IsProfileTooLarge(resolved->string())) return false;
  std::vector<std::string> lines = ReadLines(resolved->string());
  for (const auto& [key, value] : entries) SetValue(lines, section, key, value);
  std::ostringstream text;
  for (const std::string& line : lines) text << line << '\n';
  return ReplaceFile(*resolved, text.str());
}

bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& filePath) {
  return WritePrivateProfileStrings(section, {{key, value}}, filePath);
}
