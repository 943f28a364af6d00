#include "timeline_probe.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>

#include "kdx_check.h"

namespace kdxtest {

namespace {

constexpr int kBars = 9;

// The sound part as a file in memory, for libsndfile.
struct MemoryFile {
  std::span<const uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t Length(void* file) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(file)->bytes.size()); }
sf_count_t Seek(sf_count_t offset, int whence, void* file) {
  auto* m = static_cast<MemoryFile*>(file);
  const sf_count_t base = whence == SEEK_CUR ? m->position : whence == SEEK_END ? Length(file) : 0;
  m->position = std::clamp<sf_count_t>(base + offset, 0, Length(file));
  return m->position;
}
sf_count_t Read(void* out, sf_count_t count, void* file) {
  auto* m = static_cast<MemoryFile*>(file);
  const sf_count_t n = std::min(count, Length(file) - m->position);
  std::memcpy(out, m->bytes.data() + m->position, static_cast<size_t>(n));
  m->position += n;
  return n;
}
sf_count_t Write(const void*, sf_count_t, void*) { return 0; }
sf_count_t Tell(void* file) { return static_cast<MemoryFile*>(file)->position; }

}  // namespace

int PictureCode(const kdxreader::Picture& frame) {
  if (frame.width < kBars || frame.height < 1) return -1;
  int code = 0;
  for (int bar = 0; bar < kBars; ++bar) {
    const uint8_t* p = frame.Pixel((2 * bar + 1) * frame.width / (2 * kBars), frame.height / 2);
    const double luma = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    if (luma > 170) {
      code |= 1 << bar;
    } else if (luma > 80) {
      return -1;
    }
  }
  return code;
}

std::vector<int> PictureCodes(const kdxreader::KdxFile& file) {
  std::vector<int> codes;
  for (const kdxreader::Picture& frame : AllFrames(file)) codes.push_back(PictureCode(frame));
  return codes;
}

std::vector<double> BeepOnsets(const kdxreader::KdxFile& file) {
  MemoryFile memory{file.SoundBytes()};
  SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
  SF_INFO info{};
  SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &memory);
  if (sound == nullptr) {
    ADD_FAILURE() << "the sound part does not open: " << sf_strerror(nullptr);
    return {};
  }
  std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(sound, samples.data(), info.frames);
  sf_close(sound);
  std::vector<double> onsets;
  const double quiet = 0.3 * info.samplerate;
  double lastLoud = -quiet;
  for (sf_count_t i = 0; i < info.frames; ++i) {
    if (std::abs(samples[static_cast<size_t>(i * info.channels)]) < 0.1f) continue;
    if (i - lastLoud >= quiet) onsets.push_back(static_cast<double>(i) / info.samplerate);
    lastLoud = static_cast<double>(i);
  }
  return onsets;
}

}  // namespace kdxtest
