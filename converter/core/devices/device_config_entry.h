// SPDX-License-Identifier: GPL-2.0-or-later
// One supported player model as the device configuration file describes it.
#pragma once

#include <string>

struct DEVICE_CONFIG_ENTRY {
  std::string idVendor;      // USB vendor id, hexadecimal
  std::string idProduct;     // USB product id, hexadecimal
  std::string ModelName;     // shown to the user; names the player folder
  std::string TargetFolder;  // folder on the player that receives files
  std::string VideoFormat;   // "KDX" for the players this program converts for
  std::string ScreenSize;    // "width*height"
  std::string FrameRate;     // frames per second
  std::string Rotate;        // "1": full-screen is the default video mode
  std::string VideoBitRate;
  std::string AudioFormat;
  std::string AudioBitRate;
};
