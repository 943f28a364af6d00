// SPDX-License-Identifier: GPL-2.0-or-later
// Turns a player model and a queued file's settings into the encoder's
// conversion request.
#pragma once

#include "converter/core/devices/device_config_entry.h"
#include "converter/core/request/input_video_item.h"
#include "kdx.h"

struct TranscoderRequest {
  TRANSCODER_PARAM param;
  unsigned scalingFilter;  // what the frame hook should select for this run
};

// Output frame rate: the model's FrameRate as an integer, held to 10..30.
int32_t ModelFrameRate(const DEVICE_CONFIG_ENTRY& model);

// Output frame size from "width*height" (5 to 7 characters, the '*' after
// the second or third): each side outside 64..220 becomes 128, and any other
// text gives 128 by 128.
SIZE ModelScreenSize(const DEVICE_CONFIG_ENTRY& model);

// The request for one run. The range is taken as given (the encoder decides
// what an empty or reversed range means), except that an End equal to the
// Duration stands for the exact length of the file.
TranscoderRequest BuildTranscoderParam(const DEVICE_CONFIG_ENTRY& model, const INPUT_VIDEO_ITEM& item, HWND hWnd,
                                       FRAME_HOOK frameHook);
