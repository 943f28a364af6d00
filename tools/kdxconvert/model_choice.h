// SPDX-License-Identifier: GPL-2.0-or-later
// Picking the player model of a batch and listing the models.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "converter/core/devices/TesselConfigFile.h"

// The model of that name (exactly, else ignoring letter case); none when the
// table has no such model.
std::optional<size_t> FindModelByName(const CTesselConfigFile& table, const std::string& name);

// One line per model: name, screen size and frame rate as a conversion uses
// them, default video mode, video codec.
void PrintModelList(const CTesselConfigFile& table, std::ostream& out);

// The same as one JSON array of objects (name, width, height, frame_rate,
// default_mode, video_format) on one line.
void PrintModelListJson(const CTesselConfigFile& table, std::ostream& out);
