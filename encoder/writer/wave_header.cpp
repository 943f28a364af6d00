#include "writer/wave_header.h"

#include <cstring>

#include "writer/little_endian.h"

namespace kdx {

namespace {
constexpr uint32_t kFormatChunkSize = 18;  // PCM fields plus the 16-bit extra size
constexpr uint16_t kPcmFormatTag = 1;
}  // namespace

std::array<uint8_t, kPcmWaveHeaderSize> BuildPcmWaveHeader(const AudioFormat& format, uint32_t dataBytes) {
  std::array<uint8_t, kPcmWaveHeaderSize> header{};
  uint8_t* p = header.data();
  std::memcpy(p + 0, "RIFF", 4);
  PutLittleEndian(p + 4, static_cast<uint64_t>(dataBytes) + kPcmWaveHeaderSize - 8, 4);
  std::memcpy(p + 8, "WAVE", 4);
  std::memcpy(p + 12, "fmt ", 4);
  PutLittleEndian(p + 16, kFormatChunkSize, 4);
  PutLittleEndian(p + 20, kPcmFormatTag, 2);
  PutLittleEndian(p + 22, static_cast<uint16_t>(format.channels), 2);
  PutLittleEndian(p + 24, static_cast<uint32_t>(format.samplesPerSec), 4);
  PutLittleEndian(p + 28, static_cast<uint32_t>(format.avgBytesPerSec), 4);
  PutLittleEndian(p + 32, static_cast<uint16_t>(format.blockAlign), 2);
  PutLittleEndian(p + 34, static_cast<uint16_t>(format.bitsPerSample), 2);
  PutLittleEndian(p + 36, 0, 2);  // extra size
  std::memcpy(p + 38, "data", 4);
  PutLittleEndian(p + 42, dataBytes, 4);
  return header;
}

}  // namespace kdx
