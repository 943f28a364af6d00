#include "video/jpeg_chunk_encoder.h"

#include <IL/il.h>

#include <algorithm>

namespace kdx {

namespace {

// The image library calls the sink without a context of its own; the
// encoder names the buffer for the one save it starts on this thread.
thread_local std::vector<uint8_t>* sinkTarget = nullptr;

ILHANDLE ILAPIENTRY SinkOpen(ILconst_string) {
  sinkTarget->clear();
  return sinkTarget;
}
void ILAPIENTRY SinkClose(ILHANDLE) {}
// The JPEG saver writes whole blocks only; a single byte is not counted.
ILint ILAPIENTRY SinkPutByte(ILubyte, ILHANDLE) { return 1; }
ILint ILAPIENTRY SinkSeek(ILHANDLE, ILint offset, ILint) { return offset; }
ILint ILAPIENTRY SinkTell(ILHANDLE) { return 0; }
ILint ILAPIENTRY SinkWrite(const void* data, ILuint size, ILuint count, ILHANDLE handle) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(handle);
  const auto* begin = static_cast<const uint8_t*>(data);
  bytes->insert(bytes->end(), begin, begin + static_cast<size_t>(size) * count);
  return static_cast<ILint>(count);
}

}  // namespace

void JpegChunkEncoder::NewPicture() {
  slot_.fill(-1);
  used_ = 0;
}

int32_t JpegChunkEncoder::Measure(int32_t quality) {
  quality = std::clamp(quality, 1, kQualities - 1);
  if (slot_[quality] < 0) {
    if (used_ == encodings_.size()) encodings_.emplace_back();
    std::vector<uint8_t>& bytes = encodings_[used_];
    slot_[quality] = static_cast<int32_t>(used_++);
    sinkTarget = &bytes;
    bytes.clear();
    ilSetWrite(SinkOpen, SinkClose, SinkPutByte, SinkSeek, SinkTell, SinkWrite);
    ilSetInteger(IL_JPG_QUALITY, quality);
    // The saver reports failure because the sink's tell answers 0, although
    // every byte has arrived; the size is what the sink received.
    ilSave(IL_JPG, "test.jpg");
    ilResetWrite();
    sinkTarget = nullptr;
  }
  return static_cast<int32_t>(encodings_[slot_[quality]].size());
}

const std::vector<uint8_t>& JpegChunkEncoder::Bytes(int32_t quality) const {
  static const std::vector<uint8_t> none;
  quality = std::clamp(quality, 1, kQualities - 1);
  return slot_[quality] < 0 ? none : encodings_[slot_[quality]];
}

}  // namespace kdx
