// SPDX-License-Identifier: GPL-2.0-or-later
#include "audio/sound_output_file.h"

#include <cstdio>

namespace kdx {

namespace {

BinaryFile& FileOf(void* user) { return *static_cast<BinaryFile*>(user); }

sf_count_t Length(void* user) {
  BinaryFile& file = FileOf(user);
  const int64_t position = file.Tell();
  if (!file.SeekToEnd()) return -1;
  const int64_t length = file.Tell();
  return file.Seek(position) ? length : -1;
}

sf_count_t SeekTo(sf_count_t offset, int whence, void* user) {
  BinaryFile& file = FileOf(user);
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = file.Tell();
  if (whence == SEEK_END) base = Length(user);
  if (base < 0 || !file.Seek(base + offset)) return -1;
  return file.Tell();
}

sf_count_t ReadFrom(void* data, sf_count_t count, void* user) {
  return static_cast<sf_count_t>(FileOf(user).Read(data, static_cast<size_t>(count)));
}

sf_count_t WriteTo(const void* data, sf_count_t count, void* user) {
  return FileOf(user).Write(data, static_cast<size_t>(count)) ? count : 0;
}

sf_count_t Position(void* user) { return FileOf(user).Tell(); }

SF_VIRTUAL_IO kBinaryFileIo = {Length, SeekTo, ReadFrom, WriteTo, Position};

}  // namespace

SoundOutputFile::~SoundOutputFile() { Discard(); }

bool SoundOutputFile::Create(const std::string& path, SF_INFO* info) {
  Discard();
  if (!file_.Open(path, BinaryFile::Mode::CreateReadWrite)) return false;
  path_ = path;
  sound_ = sf_open_virtual(&kBinaryFileIo, SFM_WRITE, info, &file_);
  if (sound_ == nullptr || file_.Failed()) {
    Discard();
    return false;
  }
  return true;
}

bool SoundOutputFile::Close() {
  if (sound_ == nullptr) return false;
  const bool finished = sf_close(sound_) == 0;
  sound_ = nullptr;
  if (file_.Close() && finished) {
    path_.clear();
    return true;
  }
  Discard();
  return false;
}

void SoundOutputFile::Discard() {
  if (sound_ != nullptr) sf_close(sound_);
  sound_ = nullptr;
  file_.Close();
  if (!path_.empty()) std::remove(path_.c_str());
  path_.clear();
}

}  // namespace kdx
