// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/binary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace kdx {

namespace {

const char* StdioMode(BinaryFile::Mode mode) {
  switch (mode) {
    case BinaryFile::Mode::CreateWrite: return "wb";
    case BinaryFile::Mode::CreateReadWrite: return "w+b";
    case BinaryFile::Mode::AppendWrite: return "ab";
    case BinaryFile::Mode::Read: break;
  }
  return "rb";
}

int OpenFlags(BinaryFile::Mode mode) {
  switch (mode) {
    case BinaryFile::Mode::CreateWrite: return O_WRONLY | O_CREAT | O_TRUNC;
    case BinaryFile::Mode::CreateReadWrite: return O_RDWR | O_CREAT | O_TRUNC;
    case BinaryFile::Mode::AppendWrite: return O_WRONLY | O_CREAT | O_APPEND;
    case BinaryFile::Mode::Read: break;
  }
  return O_RDONLY;
}

}  // namespace

BinaryFile::~BinaryFile() { Close(); }

void BinaryFile::RecordFailure() {
  if (!failed_) error_ = errno;
  failed_ = true;
}

bool BinaryFile::Open(const std::string& path, Mode mode) {
  Close();
  failed_ = false;
  error_ = 0;
  file_ = std::fopen(path.c_str(), StdioMode(mode));
  if (file_ == nullptr) RecordFailure();
  return file_ != nullptr;
}

bool BinaryFile::OpenAt(int folder, const std::string& name, Mode mode) {
  Close();
  failed_ = false;
  error_ = 0;
  const int fd = openat(folder, name.c_str(), OpenFlags(mode) | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd >= 0) {
    file_ = fdopen(fd, StdioMode(mode));
    if (file_ == nullptr) close(fd);
  }
  if (file_ == nullptr) RecordFailure();
  return file_ != nullptr;
}

bool BinaryFile::Write(const void* data, size_t size) {
  errno = 0;
  if (file_ == nullptr || (size > 0 && std::fwrite(data, 1, size, file_) != size)) RecordFailure();
  return !failed_;
}

size_t BinaryFile::Read(void* data, size_t size) {
  if (file_ == nullptr) {
    RecordFailure();
    return 0;
  }
  const size_t n = std::fread(data, 1, size, file_);
  if (n < size && std::ferror(file_)) RecordFailure();
  return n;
}

bool BinaryFile::Seek(int64_t offset) {
  if (file_ == nullptr || fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
    RecordFailure();
    return false;
  }
  return true;
}

bool BinaryFile::SeekToEnd() {
  if (file_ == nullptr || fseeko(file_, 0, SEEK_END) != 0) {
    RecordFailure();
    return false;
  }
  return true;
}

bool BinaryFile::Truncate() {
  if (file_ == nullptr || std::fflush(file_) != 0 || ftruncate(fileno(file_), 0) != 0) {
    RecordFailure();
    return false;
  }
  return Seek(0);
}

bool BinaryFile::Sync() {
  errno = 0;
  if (file_ == nullptr || std::fflush(file_) != 0 || fsync(fileno(file_)) != 0) RecordFailure();
  return !failed_;
}

int64_t BinaryFile::Tell() const { return file_ == nullptr ? -1 : static_cast<int64_t>(ftello(file_)); }

bool BinaryFile::Close() {
  if (file_ == nullptr) return !failed_;
  errno = 0;
  if (std::fclose(file_) != 0) RecordFailure();
  file_ = nullptr;
  return !failed_;
}

}  // namespace kdx
