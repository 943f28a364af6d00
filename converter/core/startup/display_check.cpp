// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/display_check.h"

#include <cstdlib>
#include <string>

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string chosen = platform != nullptr ? platform : "";
  // "xcb", "wayland-egl", "wayland;xcb": the first choice that has a display.
  if (!chosen.empty() && chosen.find("xcb") == std::string::npos && chosen.find("wayland") == std::string::npos)
    return true;
  return IsSet("WAYLAND_DISPLAY") || IsSet("DISPLAY");
}
