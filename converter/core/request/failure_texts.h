// What the user reads when a conversion fails.
#pragma once

#include <string>

#include "platform/base/platform_types.h"

// The output file is missing although the run reported no error.
inline constexpr char kUnsupportedFormatText[] = "Failed. Not support video format.Please install the relative codec.";
// The queued input file is gone.
inline constexpr char kMissingInputText[] = "Failed. File does not exist.";
// The encoder refused to start the run.
inline constexpr char kNotStartedText[] = "Failed. The encoder did not start the conversion.";

// " (No space left on device)": the system's reason (errno) as a failure's
// text carries it, in the program's language whatever the locale; empty for 0.
std::string SystemReasonText(int reason);

// The text for a failed NewTranscoder result.
std::string NewTranscoderFailureText(HRESULT result);

// The text for a WM_TRANSCODE_ERROR message (code in wParam, result in lParam
// with the system's reason, when told, in its high 32 bits).
std::string TranscodeErrorText(WPARAM code, LPARAM result);
