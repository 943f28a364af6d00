// SPDX-License-Identifier: GPL-2.0-or-later
// A libsndfile writer that leaves either a complete file or none. Its bytes
// go through a BinaryFile so every failed write is noticed, including those
// libsndfile makes while closing: its block encoders count a short write as
// a full one.
#pragma once

#include <sndfile.h>

#include <string>

#include "writer/binary_file.h"

namespace kdx {

class SoundOutputFile {
 public:
  SoundOutputFile() = default;
  ~SoundOutputFile();  // discards a file that was not closed
  SoundOutputFile(const SoundOutputFile&) = delete;
  SoundOutputFile& operator=(const SoundOutputFile&) = delete;

  // Creates or truncates path and opens libsndfile's writer on it with info.
  // False, with no file left, when either step fails.
  bool Create(const std::string& path, SF_INFO* info);
  SNDFILE* get() const { return sound_; }
  bool Failed() const { return file_.Failed(); }
  // Finishes the file; false, with the file removed, when any write failed.
  bool Close();
  // Closes and removes the file.
  void Discard();

 private:
  BinaryFile file_;
  SNDFILE* sound_ = nullptr;
  std::string path_;
};

}  // namespace kdx
