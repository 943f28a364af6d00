// SPDX-License-Identifier: GPL-2.0-or-later
// A file opened for the run's temporaries and the destination. Every write
// error is remembered, so a full disk fails the run instead of leaving a
// damaged file behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kdx {

class BinaryFile {
 public:
  enum class Mode {
    CreateWrite,      // create or truncate, write only
    CreateReadWrite,  // create or truncate, read and write
    AppendWrite,      // create when missing, keep contents, positioned at the end
    Read,             // existing file, read only
  };

  BinaryFile() = default;
  ~BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  bool Open(const std::string& path, Mode mode);
  // Opens `name` inside an open folder; a link at that name is not followed.
  bool OpenAt(int folder, const std::string& name, Mode mode);
  bool IsOpen() const { return file_ != nullptr; }
  // Writes all bytes or records a failure.
  bool Write(const void* data, size_t size);
  // Returns the number of bytes read (fewer at the end of the file or on a
  // read error, which is recorded).
  size_t Read(void* data, size_t size);
  bool Seek(int64_t offset);  // from the start
  bool SeekToEnd();
  // Drops every byte and moves to the start.
  bool Truncate();
  // Writes out the buffered bytes and waits until the disk holds them.
  bool Sync();
  int64_t Tell() const;
  // Flushes and closes; false when a write or the flush failed.
  bool Close();
  // True once any read, write, seek or flush failed since Open.
  bool Failed() const { return failed_; }
  // The system's reason (errno) for the first failure; 0 when none was told.
  int Error() const { return error_; }

 private:
  void RecordFailure();

  std::FILE* file_ = nullptr;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace kdx
