#include "failure_texts.h"

#include <cstdio>

namespace {

const char kNoAudioCodec[] = "No audio codec is available for this file. Please install a correct codec";
const char kNoVideoCodec[] = "No video codec is available for this file. Please install a correct codec";

std::string Hex(unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", value);
  return text;
}

}  // namespace

std::string NewTranscoderFailureText(HRESULT result) {
  switch (result) {
    case VFW_E_NO_AUDIO_PATH:
      return kNoAudioCodec;
    case VFW_E_NO_VIDEO_PATH:
      return kNoVideoCodec;
    case VFW_E_CANNOT_RENDER:
      return "No codec is available for this video format. Please install the codec.";
    case E_INVALIDARG:
      return "The source file is also the destination file. Please choose another output name or folder.";
    default:
      return "Unknown error = " + Hex(static_cast<uint32_t>(result));
  }
}

std::string TranscodeErrorText(WPARAM code, LPARAM result) {
  // Result codes travel in lParam as 32-bit values.
  unsigned long resultBits = static_cast<uint32_t>(result);
  switch (code) {
    case 0:
      return "Failed result = " + Hex(resultBits);
    case 1:
      return "Please select larger graphic data size or smaller frame rate.";
    case 2:
      return kNoVideoCodec;
    case 3:
      return kNoAudioCodec;
    case 4:
      return "No codec is available for this video format. Please install the codec and the latest Microsoft "
             "DirectX(TM)";
    default:
      return "Unknown error = " + Hex(static_cast<uint32_t>(code)) + ", " + Hex(resultBits);
  }
}
