// SPDX-License-Identifier: GPL-2.0-or-later
// Build step: draws the picture of every player model of a device table
// into a folder, as MODEL.bmp.
//   kdx_player_pictures TABLE.xml FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "converter/core/devices/TesselConfigFile.h"
#include "converter/data/player_picture.h"
#include "converter/core/request/transcoder_request.h"

namespace {

bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path partial = path;
  partial += ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code failed;
  std::filesystem::rename(partial, path, failed);
  if (failed) std::filesystem::remove(partial, failed);
  return !failed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DEVICE-TABLE FOLDER\n", argv[0]);
    return 2;
  }
  CTesselConfigFile table;
  if (!table.Init(argv[1]) || !table.GetTesselDeviceNode()) {
    std::fprintf(stderr, "%s: cannot read the device table %s\n", argv[0], argv[1]);
    return 1;
  }
  for (size_t i = 0; i < table.GetDeviceCount(); ++i) {
    const DEVICE_CONFIG_ENTRY& model = table.GetDevice(i);
    if (model.ModelName.empty() || model.ModelName.find('/') != std::string::npos) {
      std::fprintf(stderr, "%s: model %zu has no usable name, no picture drawn\n", argv[0], i + 1);
      continue;
    }
    SIZE screen = ModelScreenSize(model);
    PlayerPicture picture = DrawPlayerPicture(screen.cx, screen.cy, static_cast<unsigned>(i));
    std::filesystem::path path = std::filesystem::path(argv[2]) / (model.ModelName + ".bmp");
    if (!WriteWholeFile(path, EncodeBmp24(picture))) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return 1;
    }
  }
  return 0;
}
