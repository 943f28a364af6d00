// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/model_choice.h"

#include <strings.h>

#include <algorithm>
#include <iomanip>

#include "converter/core/request/conversion_options.h"
#include "converter/core/request/transcoder_request.h"
#include "tools/cli/json_writer.h"

std::optional<size_t> FindModelByName(const CTesselConfigFile& table, const std::string& name) {
  for (size_t i = 0; i < table.GetDeviceCount(); ++i) {
    if (table.GetDevice(i).ModelName == name) return i;
  }
  for (size_t i = 0; i < table.GetDeviceCount(); ++i) {
    if (::strcasecmp(table.GetDevice(i).ModelName.c_str(), name.c_str()) == 0) return i;
  }
  return std::nullopt;
}

void PrintModelList(const CTesselConfigFile& table, std::ostream& out) {
  size_t nameWidth = 5;
  for (size_t i = 0; i < table.GetDeviceCount(); ++i) {
    nameWidth = std::max(nameWidth, table.GetDevice(i).ModelName.size());
  }
  out << std::left << std::setw(static_cast<int>(nameWidth) + 2) << "Model" << std::setw(13) << "Screen"
      << std::setw(12) << "Frame rate" << std::setw(14) << "Default mode"
      << "Video codec\n";
  for (size_t i = 0; i < table.GetDeviceCount(); ++i) {
    const DEVICE_CONFIG_ENTRY& model = table.GetDevice(i);
    // The values a conversion uses, after its own limits, not the table's text.
    const SIZE screen = ModelScreenSize(model);
    const std::string size = std::to_string(screen.cx) + "*" + std::to_string(screen.cy);
    out << std::setw(static_cast<int>(nameWidth) + 2) << model.ModelName << std::setw(13) << size << std::setw(12)
        << ModelFrameRate(model) << std::setw(14) << DefaultVideoMode(model) << model.VideoFormat << '\n';
  }
}

void PrintModelListJson(const CTesselConfigFile& table, std::ostream& out) {
  JsonWriter json;
  json.BeginArray();
  for (size_t i = 0; i < table.GetDeviceCount(); ++i) {
    const DEVICE_CONFIG_ENTRY& model = table.GetDevice(i);
    const SIZE screen = ModelScreenSize(model);
    json.BeginObject();
    json.Key("name").String(model.ModelName);
    json.Key("width").Integer(screen.cx);
    json.Key("height").Integer(screen.cy);
    json.Key("frame_rate").Integer(ModelFrameRate(model));
    json.Key("default_mode").String(DefaultVideoMode(model));
    json.Key("video_format").String(model.VideoFormat);
    json.EndObject();
  }
  json.EndArray();
  out << json.text() << '\n';
}
