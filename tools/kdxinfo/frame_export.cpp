// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxinfo/frame_export.h"

#include <IL/il.h>

#include <cstdio>
#include <filesystem>

#include "tools/kdxreader/chunk_frames.h"

namespace {

bool SavePng(const kdxreader::Picture& frame, const std::string& path) {
  const ILuint image = ilGenImage();
  ilBindImage(image);
  auto pixels = frame.rgb;  // DevIL takes a non-const pointer
  bool saved = ilTexImage(frame.width, frame.height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, pixels.data());
  if (saved) {
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);  // our rows run from the top
    saved = ilSave(IL_PNG, path.c_str());
  }
  ilDeleteImage(image);
  return saved;
}

}  // namespace

std::string ExportFramePngs(const kdxreader::KdxFile& file, const std::string& folder, size_t* written) {
  *written = 0;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return "cannot make folder " + folder + ": " + error.message();
  ilInit();  // does nothing when already done
  ilEnable(IL_FILE_OVERWRITE);
  const auto& g = file.geometry;
  for (size_t chunk = 0; chunk < file.chunks.size(); ++chunk) {
    const auto picture = kdxreader::DecodeChunk(file, chunk);
    if (!picture) return "chunk " + std::to_string(chunk) + ": the JPEG does not decode";
    for (int slot = 0; slot < g.F; ++slot) {
      char name[32];
      std::snprintf(name, sizeof name, "frame_%06zu.png", chunk * g.F + slot);
      const std::string path = folder + "/" + name;
      if (!SavePng(kdxreader::ExtractFrame(*picture, g, slot), path)) return "cannot write " + path;
      ++*written;
    }
  }
  return {};
}
