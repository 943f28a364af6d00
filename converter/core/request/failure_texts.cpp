// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/failure_texts.h"

#include <cstdio>
#include <cstring>

#include "kdx.h"

namespace {

const char kNoAudioCodec[] = "No audio codec is available for this file. Please install a correct codec";
const char kNoVideoCodec[] = "No video codec is available for this file. Please install a correct codec";

std::string Hex(unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", value);
  return text;
}

}  // namespace

std::string SystemReasonText(int reason) {
  if (reason == 0) return {};
  const char* text = strerrordesc_np(reason);
  return text != nullptr ? std::string(" (") + text + ")" : " (error " + std::to_string(reason) + ")";
}

namespace {

// " (the file has no sound track).": what is missing, after a codec text.
std::string MissingPathText(const char* codecText, int32_t reason, const char* noStream, const char* noDecoder) {
  switch (reason) {
    case KDX_REASON_NO_STREAM:
      return std::string(codecText) + " (" + noStream + ").";
    case KDX_REASON_NO_DECODER:
      return std::string(codecText) + " (" + noDecoder + ").";
    default:
      return codecText;
  }
}

}  // namespace

std::string AddSilenceSettingHint() {
  return std::string("Turn on \"") + kAddSilenceSetting + "\" to convert it with silent sound.";
}

std::string NewTranscoderFailureText(HRESULT result, int32_t reason) {
  switch (result) {
    case VFW_E_NO_AUDIO_PATH:
      return MissingPathText(kNoAudioCodec, reason, "the file has no sound track", "no decoder for its sound");
    case VFW_E_NO_VIDEO_PATH:
      return MissingPathText(kNoVideoCodec, reason, "the file holds no picture", "no decoder for its pictures");
    case VFW_E_CANNOT_RENDER:
      return "No codec is available for this video format. Please install the codec.";
    case E_INVALIDARG:
      return "The source file is also the destination file. Please choose another output name or folder.";
    case E_FAIL:
      return "Unknown error = " + Hex(static_cast<uint32_t>(result)) + " (no length could be read from the file)";
    default:
      return "Unknown error = " + Hex(static_cast<uint32_t>(result));
  }
}

std::string TranscodeErrorText(WPARAM code, LPARAM result) {
  // Result codes travel in the low 32 bits of lParam.
  unsigned long resultBits = static_cast<uint32_t>(KdxErrorResult(result));
  switch (code) {
    case 0:
      return "Failed result = " + Hex(resultBits) + SystemReasonText(KdxErrorReason(result));
    case KDX_ERROR_NO_QUALITY_FITS:
      return "Please select larger graphic data size or smaller frame rate.";
    case 2:
      return kNoVideoCodec;
    case 3:
      return kNoAudioCodec;
    case 4:
      return "No codec is available for this video format. Please install the codec and the latest Microsoft "
             "DirectX(TM)";
    case KDX_ERROR_NO_PICTURE:
      return "No picture could be decoded; no file written.";
    case KDX_ERROR_DESTINATION_TAKEN:
      return "Another conversion wrote the destination file meanwhile; it was kept and this file was not written.";
    case KDX_ERROR_TOO_MANY_FRAMES:
      return "The range is too long for a KDX file: it would hold more than 16777215 frames, the most its header "
             "counts.";
    case KDX_ERROR_SOUND_TOO_LARGE:
      return "The range is too long for a KDX file: its sound part would pass 4 GiB, the most a RIFF file holds.";
    default:
      return "Unknown error = " + Hex(static_cast<uint32_t>(code)) + ", " + Hex(resultBits);
  }
}
