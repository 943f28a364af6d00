#include "writer/binary_file.h"

#include <unistd.h>

namespace kdx {

BinaryFile::~BinaryFile() { Close(); }

bool BinaryFile::Open(const std::string& path, Mode mode) {
  Close();
  failed_ = false;
  const char* how = "rb";
  switch (mode) {
    case Mode::CreateWrite: how = "wb"; break;
    case Mode::CreateReadWrite: how = "w+b"; break;
    case Mode::AppendWrite: how = "ab"; break;
    case Mode::Read: how = "rb"; break;
  }
  file_ = std::fopen(path.c_str(), how);
  return file_ != nullptr;
}

bool BinaryFile::Write(const void* data, size_t size) {
  if (file_ == nullptr) {
    failed_ = true;
    return false;
  }
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
  return !failed_;
}

size_t BinaryFile::Read(void* data, size_t size) {
  if (file_ == nullptr) {
    failed_ = true;
    return 0;
  }
  const size_t n = std::fread(data, 1, size, file_);
  if (n < size && std::ferror(file_)) failed_ = true;
  return n;
}

bool BinaryFile::Seek(int64_t offset) {
  if (file_ == nullptr || fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
    failed_ = true;
    return false;
  }
  return true;
}

bool BinaryFile::SeekToEnd() {
  if (file_ == nullptr || fseeko(file_, 0, SEEK_END) != 0) {
    failed_ = true;
    return false;
  }
  return true;
}

bool BinaryFile::Truncate() {
  if (file_ == nullptr || std::fflush(file_) != 0 || ftruncate(fileno(file_), 0) != 0) {
    failed_ = true;
    return false;
  }
  return Seek(0);
}

bool BinaryFile::Sync() {
  if (file_ == nullptr || std::fflush(file_) != 0 || fsync(fileno(file_)) != 0) failed_ = true;
  return !failed_;
}

int64_t BinaryFile::Tell() const { return file_ == nullptr ? -1 : static_cast<int64_t>(ftello(file_)); }

bool BinaryFile::Close() {
  if (file_ == nullptr) return !failed_;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace kdx
