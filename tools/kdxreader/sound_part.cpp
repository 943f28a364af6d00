// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxreader/sound_part.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "tools/kdxreader/byte_order.h"

namespace kdxreader {

namespace {

constexpr size_t kRiffPreamble = 12;  // "RIFF", size, "WAVE"

// libsndfile reads the sound part straight from memory.
struct MemoryStream {
  std::span<const uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t StreamLength(void* user) { return static_cast<sf_count_t>(static_cast<MemoryStream*>(user)->bytes.size()); }

sf_count_t StreamSeek(sf_count_t offset, int whence, void* user) {
  auto* s = static_cast<MemoryStream*>(user);
  const sf_count_t size = static_cast<sf_count_t>(s->bytes.size());
  sf_count_t target = offset;
  if (whence == SEEK_CUR) target = s->position + offset;
  if (whence == SEEK_END) target = size + offset;
  if (target < 0) return -1;
  s->position = target;
  return target;
}

sf_count_t StreamRead(void* data, sf_count_t count, void* user) {
  auto* s = static_cast<MemoryStream*>(user);
  const sf_count_t size = static_cast<sf_count_t>(s->bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(size - s->position, 0, count);
  if (n > 0) std::memcpy(data, s->bytes.data() + s->position, static_cast<size_t>(n));
  s->position += n;
  return n;
}

sf_count_t StreamWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t StreamTell(void* user) { return static_cast<MemoryStream*>(user)->position; }

SNDFILE* OpenStream(MemoryStream& stream, SF_INFO* info) {
  SF_VIRTUAL_IO io{StreamLength, StreamSeek, StreamRead, StreamWrite, StreamTell};
  return sf_open_virtual(&io, SFM_READ, info, &stream);
}

// Walks the RIFF chunks: takes the format tag of the first "fmt " chunk and
// checks that every chunk ends inside the sound part, so no length field
// reaches into the KDX header. Returns the problem or an empty string.
std::string ReadChunkList(std::span<const uint8_t> bytes, uint16_t* formatTag) {
  bool formatFound = false;
  size_t at = kRiffPreamble;
  while (at + 8 <= bytes.size()) {
    const uint32_t size = ReadLittleEndian(&bytes[at + 4], 4);
    if (size > bytes.size() - at - 8)
      return "the sound part's chunk at offset " + std::to_string(at) + " claims " + std::to_string(size) +
             " bytes, past the end of the sound part";
    if (!formatFound && std::memcmp(&bytes[at], "fmt ", 4) == 0 && size >= 2) {
      *formatTag = static_cast<uint16_t>(ReadLittleEndian(&bytes[at + 8], 2));
      formatFound = true;
    }
    at += 8 + static_cast<size_t>(size) + (size & 1);  // chunks are padded to even sizes
  }
  return formatFound ? std::string() : "the sound part has no format chunk";
}

}  // namespace

std::string DescribeSoundPart(std::span<const uint8_t> bytes, SoundPart* sound) {
  if (bytes.size() < kRiffPreamble || std::memcmp(&bytes[8], "WAVE", 4) != 0)
    return "the sound part is not a WAVE file";
  if (std::string problem = ReadChunkList(bytes, &sound->formatTag); !problem.empty()) return problem;

  MemoryStream stream{bytes, 0};
  SF_INFO info{};
  SNDFILE* file = OpenStream(stream, &info);
  if (file == nullptr) return std::string("the sound part cannot be read: ") + sf_strerror(nullptr);
  sf_close(file);
  sound->channels = info.channels;
  sound->sampleRate = info.samplerate;
  sound->frames = info.frames;
  sound->seconds = info.samplerate > 0 ? static_cast<double>(info.frames) / info.samplerate : 0.0;
  return {};
}

bool ReadSoundSamples(std::span<const uint8_t> bytes, SoundPart* sound, std::vector<float>* samples) {
  MemoryStream stream{bytes, 0};
  SF_INFO info{};
  SNDFILE* file = OpenStream(stream, &info);
  if (file == nullptr) return false;
  samples->assign(static_cast<size_t>(info.frames * info.channels), 0.0f);
  const sf_count_t read = sf_readf_float(file, samples->data(), info.frames);
  sf_close(file);
  sound->channels = info.channels;
  sound->sampleRate = info.samplerate;
  sound->frames = read;
  sound->seconds = info.samplerate > 0 ? static_cast<double>(read) / info.samplerate : 0.0;
  samples->resize(static_cast<size_t>(read * info.channels));
  return true;
}

std::string FormatTagName(uint16_t formatTag) {
  switch (formatTag) {
    case 0x0001: return "PCM";
    case 0x0002: return "MS ADPCM";
    case 0x0003: return "IEEE float";
    case 0x0011: return "IMA ADPCM";
    case 0x0055: return "MPEG layer 3";
    case 0xFFFE: return "extensible";
    default: return "unknown";
  }
}

}  // namespace kdxreader
