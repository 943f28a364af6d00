// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/safe_file_copy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/base/folder_lock.h"
#include "platform/base/temporary_names.h"

namespace {

constexpr char kCopyPrefix[] = ".kdx-copy-";
constexpr int kMostNameAttempts = 100;

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now so that a failing close is seen (some file systems report
  // write errors only there).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool IsOwnFile(const struct stat& info) { return S_ISREG(info.st_mode) && info.st_uid == ::geteuid(); }

// A temporary whose lock anyone can take belongs to a copy that is gone.
void RemoveIfDead(int folder, const char* name) {
  struct stat info {};
  if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !IsOwnFile(info)) return;
  Descriptor file(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !IsOwnFile(info)) return;
  if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(folder, name, 0);
}

// Removes the temporaries of killed copies from the folder.
void RemoveDeadCopies(int folder) {
  for (const std::string& name : TemporaryNamesIn(folder, kCopyPrefix, false)) RemoveIfDead(folder, name.c_str());
}

// Sweeps the folder, then makes a new temporary there and locks it, both
// under the folder's lock. The temporary's descriptor, or -1.
int CreateLockedCopy(int folder, std::string* name) {
  FolderLock guard(folder);
  if (guard.locked()) RemoveDeadCopies(folder);
  for (int attempt = 0; attempt < kMostNameAttempts; ++attempt) {
    *name = RandomTemporaryName(kCopyPrefix);
    // A copied video is an ordinary file; FAT volumes keep no modes anyway.
    const int fd = ::openat(folder, name->c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) {
      // Nobody else can hold it yet. Where the file system has no locks the
      // temporary is never taken for dead, as no sweep can lock it either.
      ::flock(fd, LOCK_EX | LOCK_NB);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

bool CopyData(int from, int to) {
  std::vector<char> buffer(1 << 20);
  for (;;) {
    ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(to, buffer.data() + done, static_cast<size_t>(got - done));
      if (put < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += put;
    }
  }
}

// Writes the whole source into the temporary through a descriptor of its
// own, closed before the rename; the locked one stays open until then.
bool FillTemporary(const std::string& source, int folder, const std::string& name) {
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return false;
  Descriptor out(::openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  return out.get() >= 0 && CopyData(in.get(), out.get()) && ::fsync(out.get()) == 0 && out.Close();
}

bool StillAt(int folder, const std::string& folderPath) {
  struct stat open {};
  struct stat named {};
  if (::fstat(folder, &open) != 0 || ::stat(folderPath.c_str(), &named) != 0) return false;
  if (open.st_dev == named.st_dev && open.st_ino == named.st_ino) return true;
  errno = ENOENT;
  return false;
}

}  // namespace

bool CopyFileReplacing(const std::string& source, int folder, const std::string& folderPath, const std::string& name,
                       int* error) {
  std::string temporary;
  Descriptor lock(CreateLockedCopy(folder, &temporary));
  if (lock.get() < 0) {
    if (error != nullptr) *error = errno;
    return false;
  }
  bool copied = FillTemporary(source, folder, temporary) && StillAt(folder, folderPath) &&
                ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0;
  int failure = errno;
  if (!copied) {
    ::unlinkat(folder, temporary.c_str(), 0);
  } else if (::fsync(folder) != 0 && errno != EINVAL) {
    // The new name may not survive a power cut. A file system that cannot
    // flush a folder keeps its names anyway.
    failure = errno;
    copied = false;
  }
  if (!copied && error != nullptr) *error = failure;
  return copied;
}
