#include "platform/players/safe_file_copy.h"

#include "platform/base/folder_sync.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
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

// Writes the whole source into the already created temporary file.
bool FillTemporary(const std::string& source, int temporary) {
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  return in.get() >= 0 && CopyData(in.get(), temporary) && ::fsync(temporary) == 0;
}

}  // namespace

bool CopyFileReplacing(const std::string& source, const std::string& target, int* error) {
  std::filesystem::path targetPath(target);
  std::string folder = targetPath.has_parent_path() ? targetPath.parent_path().string() : ".";
  std::string pattern = folder + "/." + targetPath.filename().string() + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  Descriptor temporary(::mkostemp(name.data(), O_CLOEXEC));
  if (temporary.get() < 0) {
    if (error != nullptr) *error = errno;
    return false;
  }
  // mkostemp makes the file private; a copied video is an ordinary file.
  // FAT volumes refuse the change and need none.
  (void)::fchmod(temporary.get(), 0644);
  bool copied = FillTemporary(source, temporary.get()) && temporary.Close() &&
                ::rename(name.data(), target.c_str()) == 0;
  int failure = errno;
  if (!copied) {
    ::unlink(name.data());
  } else if (!SyncFolder(folder)) {
    failure = errno;
    copied = false;
  }
  if (!copied && error != nullptr) *error = failure;
  return copied;
}
