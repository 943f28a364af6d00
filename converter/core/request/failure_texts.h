// SPDX-License-Identifier: GPL-2.0-or-later
// What the user reads when a conversion fails.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/platform_types.h"

// The output file is missing although the run reported no error.
inline constexpr char kUnsupportedFormatText[] = "Failed. Not support video format.Please install the relative codec.";
// The queued input file is gone.
inline constexpr char kMissingInputText[] = "Failed. File does not exist.";
// The encoder refused to start the run.
inline constexpr char kNotStartedText[] = "Failed. The encoder did not start the conversion.";

// The window's setting that converts a video without a sound track, with
// a silent sound part.
inline constexpr char kAddSilenceSetting[] = "Add silence to videos without sound";
// What each front end adds to the reason of a video without a sound track:
// the window names its setting, kdxconvert its option.
std::string AddSilenceSettingHint();
inline constexpr char kAddSilenceOptionHint[] = "--add-silence converts it with silent sound.";

// " (No space left on device)": the system's reason (errno) as a failure's
// text carries it, in the program's language whatever the locale; empty for 0.
std::string SystemReasonText(int reason);

// The text for a failed NewTranscoder result, with why a path is missing
// (the KDX_REASON_* NewTranscoderEx gave) after the codec texts.
std::string NewTranscoderFailureText(HRESULT result, int32_t reason = 0);

// The text for a WM_TRANSCODE_ERROR message (code in wParam, result in lParam
// with the system's reason, when told, in its high 32 bits).
std::string TranscodeErrorText(WPARAM code, LPARAM result);
