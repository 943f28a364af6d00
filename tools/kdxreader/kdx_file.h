// SPDX-License-Identifier: GPL-2.0-or-later
// A whole KDX file, read into memory, parsed and checked: the sound part,
// the 51-byte header, the geometry it gives and the chunk records.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/kdxreader/sound_part.h"

namespace kdxreader {

constexpr size_t kHeaderSize = 51;

struct KdxHeader {
  std::array<uint8_t, kHeaderSize> bytes{};
  int width = 0;            // byte 9
  int height = 0;           // byte 12
  int chunkSize = 0;        // bytes 21..23
  int framesPerSecond = 0;  // byte 24
  int frameCount = 0;       // bytes 27..29
  int framesPerChunk = 0;   // byte 36
};

struct KdxGeometry {
  int W = 0;  // frame width
  int H = 0;  // frame height
  int P = 0;  // slot height: H rounded up to 16
  int F = 0;  // frames per chunk
  int C = 0;  // chunks per second
  int S = 0;  // chunk size in bytes
  int N = 0;  // frames to play
};

struct ChunkRecord {
  uint64_t offset = 0;      // of the record in the file
  uint32_t jpegLength = 0;  // L
};

struct KdxFile {
  std::vector<uint8_t> bytes;  // the whole file
  SoundPart sound;
  uint64_t headerOffset = 0;
  KdxHeader header;
  KdxGeometry geometry;
  std::vector<ChunkRecord> chunks;
  double playingSeconds = 0.0;  // N / (C x F)

  std::span<const uint8_t> SoundBytes() const { return {bytes.data(), static_cast<size_t>(sound.byteCount)}; }
  std::span<const uint8_t> ChunkJpeg(size_t chunk) const {
    return {bytes.data() + chunks[chunk].offset + 3, chunks[chunk].jpegLength};
  }
};

// Either a checked file or the first problem found, in file order.
struct KdxLoadResult {
  std::optional<KdxFile> file;
  std::string error;
};

// Either the checked header or the first problem found.
struct KdxHeaderResult {
  std::optional<KdxHeader> header;
  std::string error;
};

// Reads and checks only the header of the file at "path", found after its
// sound part: its numbers without reading the rest of the file.
KdxHeaderResult ReadKdxHeader(const std::string& path);

// Reads and checks the file at "path", decoding every chunk's JPEG.
KdxLoadResult LoadKdx(const std::string& path);
// The same for a file already in memory.
KdxLoadResult ParseKdx(std::vector<uint8_t> bytes);

}  // namespace kdxreader
