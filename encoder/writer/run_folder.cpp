#include "writer/run_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "folder_sync.h"

namespace kdx {

namespace {

constexpr char kFolderPrefix[] = ".kdx-";
constexpr size_t kFolderNameLength = sizeof kFolderPrefix - 1 + 6;  // mkdtemp's six letters
constexpr char kLockName[] = ".lock";
// Everything a run puts into its folder; a sweep removes nothing else.
constexpr const char* kRunFiles[] = {".video", ".kdx", kLockName};

// The folder part of a destination path; a bare file name lives in the
// current directory.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Removes a run's files (the lock file last) and the folder; failures are
// ignored: a temporary that cannot go must not fail a run.
void RemoveRunFiles(const std::string& folder) {
  for (const char* name : kRunFiles) unlink((folder + "/" + name).c_str());
  rmdir(folder.c_str());
}

// A folder of a run that is gone: its lock can be taken. A folder without a
// lock file is removed only when empty (its run was killed as it was being
// made); anything else in such a folder is not ours to delete.
void RemoveIfStale(const std::string& folder) {
  const int lock = open((folder + "/" + kLockName).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (lock < 0) {
    rmdir(folder.c_str());
    return;
  }
  if (flock(lock, LOCK_EX | LOCK_NB) == 0) RemoveRunFiles(folder);
  close(lock);
}

void RemoveStaleFolders(const std::string& parent) {
  DIR* dir = opendir(parent.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> candidates;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) continue;
    if (std::strlen(entry->d_name) != kFolderNameLength) continue;
    if (std::strncmp(entry->d_name, kFolderPrefix, sizeof kFolderPrefix - 1) != 0) continue;
    candidates.push_back(parent + "/" + entry->d_name);
  }
  closedir(dir);
  for (const std::string& folder : candidates) RemoveIfStale(folder);
}

// Holds an exclusive lock on the destination folder while a run's folder is
// being made and locked, and while stale folders are swept: a sweep never
// sees a folder between its making and its locking. Where the folder cannot
// be locked (some network file systems) no sweep is made.
class FolderGuard {
 public:
  explicit FolderGuard(const std::string& folder)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    locked_ = fd_ >= 0 && flock(fd_, LOCK_EX) == 0;
  }
  ~FolderGuard() {
    if (fd_ >= 0) close(fd_);
  }
  FolderGuard(const FolderGuard&) = delete;
  FolderGuard& operator=(const FolderGuard&) = delete;
  bool locked() const { return locked_; }

 private:
  int fd_;
  bool locked_ = false;
};

}  // namespace

RunFolder::~RunFolder() { Remove(); }

bool RunFolder::Create(const std::string& destinationPath) {
  Remove();
  const std::string parent = FolderOf(destinationPath);
  FolderGuard guard(parent);
  if (guard.locked()) RemoveStaleFolders(parent);
  std::string pattern = parent + (parent.back() == '/' ? "" : "/") + kFolderPrefix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) return false;
  path_ = name.data();
  lock_ = open((path_ + "/" + kLockName).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (lock_ < 0) {
    Remove();
    return false;
  }
  // Nobody else can hold it yet. Where the file system has no locks the
  // folder is never taken for stale, as no sweep can lock it either.
  flock(lock_, LOCK_EX | LOCK_NB);
  return true;
}

bool RunFolder::MoveKdxTo(const std::string& destinationPath) const {
  if (path_.empty() || std::rename(KdxPath().c_str(), destinationPath.c_str()) != 0) return false;
  return SyncFolder(FolderOf(destinationPath));
}

void RunFolder::Remove() {
  if (path_.empty()) return;
  RemoveRunFiles(path_);
  // The lock goes last, so no sweep takes a folder that is still emptied.
  if (lock_ >= 0) close(lock_);
  lock_ = -1;
  path_.clear();
}

}  // namespace kdx
