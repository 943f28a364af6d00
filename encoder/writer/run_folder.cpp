// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/run_folder.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/base/folder_lock.h"
#include "platform/base/folder_sync.h"
#include "platform/base/temporary_names.h"
#include "platform/base/trusted_folder.h"

namespace kdx {

namespace {

constexpr char kFolderPrefix[] = ".kdx-";
constexpr char kLockName[] = ".lock";
// Everything a run puts into its folder; a sweep removes nothing else.
constexpr const char* kRunFiles[] = {".video", ".kdx", kLockName};
constexpr int kMostNameAttempts = 100;

// The folder part of a destination path; a bare file name lives in the
// current directory.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Removes a run's files (the lock file last); failures are ignored: a
// temporary that cannot go must not fail a run.
void RemoveRunFiles(int folder) {
  for (const char* name : kRunFiles) unlinkat(folder, name, 0);
}

bool OwnFolder(const struct stat& info) { return S_ISDIR(info.st_mode) && info.st_uid == geteuid(); }

// A folder of a run that is gone: its lock can be taken. A folder without a
// lock file is removed only when empty (its run was killed as it was being
// made); anything else in such a folder is not ours to delete, nor is a
// folder of another user.
void RemoveIfStale(int parent, const char* name) {
  struct stat info {};
  if (fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !OwnFolder(info)) return;
  const int folder = openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) return;
  if (fstat(folder, &info) == 0 && OwnFolder(info)) {
    const int lock = openat(folder, kLockName, O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (lock < 0) {
      unlinkat(parent, name, AT_REMOVEDIR);
    } else {
      if (flock(lock, LOCK_EX | LOCK_NB) == 0) {
        RemoveRunFiles(folder);
        unlinkat(parent, name, AT_REMOVEDIR);
      }
      close(lock);
    }
  }
  close(folder);
}

void RemoveStaleFolders(int parent) {
  for (const std::string& name : TemporaryNamesIn(parent, kFolderPrefix, true)) RemoveIfStale(parent, name.c_str());
}

// Makes a new run folder with a name nobody uses; its name, or empty.
std::string MakeRunFolder(int parent) {
  for (int attempt = 0; attempt < kMostNameAttempts; ++attempt) {
    std::string name = RandomTemporaryName(kFolderPrefix);
    if (mkdirat(parent, name.c_str(), 0700) == 0) return name;
    if (errno != EEXIST) return {};
  }
  return {};
}

}  // namespace

RunFolder::~RunFolder() { Remove(); }

bool RunFolder::Fail() {
  error_ = errno;
  Remove();
  return false;
}

bool RunFolder::Create(const std::string& destinationPath) {
  Remove();
  error_ = 0;
  destinationFolder_ = FolderOf(destinationPath);
  destinationName_ = NameOf(destinationPath);
  parent_ = OpenFolderNoForeignLinks(destinationFolder_, false);
  if (parent_ < 0) return Fail();
  // Refused now rather than by the final rename, after the whole conversion.
  const long longestName = fpathconf(parent_, _PC_NAME_MAX);
  if (longestName > 0 && destinationName_.size() > static_cast<size_t>(longestName)) {
    errno = ENAMETOOLONG;
    return Fail();
  }
  // Held while stale folders are swept and the new one is made and locked:
  // a sweep never sees a folder between its making and its locking.
  FolderLock guard(parent_);
  if (guard.locked()) RemoveStaleFolders(parent_);
  name_ = MakeRunFolder(parent_);
  if (name_.empty()) return Fail();
  path_ = destinationFolder_ + (destinationFolder_.back() == '/' ? "" : "/") + name_;
  folder_ = openat(parent_, name_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder_ < 0) return Fail();
  lock_ = openat(folder_, kLockName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (lock_ < 0) return Fail();
  // Nobody else can hold it yet. Where the file system has no locks the
  // folder is never taken for stale, as no sweep can lock it either.
  flock(lock_, LOCK_EX | LOCK_NB);
  return true;
}

bool RunFolder::DestinationIsFree(const std::optional<FileIdentity>& agreed) const {
  const std::optional<FileIdentity> present = IdentityAt(parent_, destinationName_);
  return !present || present == agreed;
}

RunFolder::Move RunFolder::MoveKdxTo(const std::optional<FileIdentity>& agreed, std::optional<FileIdentity>* moved) {
  const std::optional<FileIdentity> assembled = folder_ >= 0 ? IdentityAt(folder_, kKdxName) : std::nullopt;
  if (!assembled) {
    error_ = ENOENT;
    return Move::kFailed;
  }
  if (moved != nullptr) *moved = assembled;
  const std::optional<FileIdentity> present = IdentityAt(parent_, destinationName_);
  if (present && present != agreed) return Move::kTaken;
  const char* target = destinationName_.c_str();
  int renamed = 0;
  if (present) {
    renamed = renameat(folder_, kKdxName, parent_, target);
  } else {
    // Nothing was there: a file that appears now is not ours to replace.
    renamed = renameat2(folder_, kKdxName, parent_, target, RENAME_NOREPLACE);
    if (renamed != 0 && errno == EINVAL) {
      // A file system without that rename (NFS): a new link fails as well
      // when the name is taken.
      renamed = linkat(folder_, kKdxName, parent_, target, 0);
      if (renamed == 0) unlinkat(folder_, kKdxName, 0);
    }
    if (renamed != 0 && errno == EEXIST) return Move::kTaken;
  }
  if (renamed != 0) {
    error_ = errno;
    return Move::kFailed;
  }
  if (!SyncFolder(destinationFolder_)) {
    error_ = errno;
    return Move::kFailed;
  }
  return Move::kDone;
}

void RunFolder::Remove() {
  if (folder_ >= 0) {
    RemoveRunFiles(folder_);
    close(folder_);
    folder_ = -1;
  }
  if (!name_.empty()) unlinkat(parent_, name_.c_str(), AT_REMOVEDIR);
  // The lock goes last, so no sweep takes a folder that is still emptied.
  if (lock_ >= 0) close(lock_);
  if (parent_ >= 0) close(parent_);
  lock_ = parent_ = -1;
  name_.clear();
  path_.clear();
}

}  // namespace kdx
