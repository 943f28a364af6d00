// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxreader/kdx_file.h"

#include <cerrno>
#include <cstring>
#include <cstdio>

#include "tools/kdxreader/byte_order.h"
#include "tools/kdxreader/jpeg_picture.h"
#include "writer/chunk_geometry.h"

namespace kdxreader {

namespace {

constexpr char kMagic[] = "KDX002000";
constexpr size_t kLengthBytes = 3;  // L in front of each chunk's JPEG

using std::to_string;

// Header bytes the format fixes, with their values.
struct FixedByte {
  size_t offset;
  uint8_t value;
};
constexpr FixedByte kFixedBytes[] = {
    {10, 0}, {11, 0}, {13, 0}, {14, 0}, {15, 16}, {16, 0}, {17, 0}, {18, 1}, {19, 0}, {20, 0}, {25, 0}, {26, 0},
    {30, 1}, {31, 0}, {32, 0}, {33, 0}, {34, 0}, {35, 0}, {37, 0}, {38, 0}, {39, 1}, {40, 1}, {41, 1}, {42, 1},
    {43, 1}, {44, 1}, {45, 1}, {46, 1}, {47, 1}, {48, 1}, {49, 1}, {50, 1},
};

KdxLoadResult Failure(std::string message) { return {std::nullopt, std::move(message)}; }

// Whether some frame rate a writer is asked for (1 to 255) gives these
// frames per chunk and frames per second for frames of this height, in
// chunks of about 640 rows or of one second.
bool MatchesAChunkPeriod(const KdxHeader& h) {
  for (int rate = 1; rate <= 255; ++rate) {
    for (const bool secondChunks : {false, true}) {
      // Half a frame off the whole rate, so 1 / T truncates to it.
      const kdx::ChunkGeometry g = kdx::ComputeChunkGeometry(h.width, h.height, 1.0 / (rate + 0.5), 1, secondChunks);
      if (g.F == h.framesPerChunk && g.framesPerSecondByte == h.framesPerSecond) return true;
    }
  }
  return false;
}

// Finds the sound part, if any; returns the problem or an empty string.
std::string ReadSound(KdxFile& file) {
  const auto& bytes = file.bytes;
  if (bytes.size() < 4 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return {};  // header comes first
  if (bytes.size() < 8) return "truncated file: the sound part's RIFF header is cut off";
  const uint64_t soundBytes = static_cast<uint64_t>(ReadLittleEndian(&bytes[4], 4)) + 8;
  if (soundBytes > bytes.size())
    return "RIFF size " + to_string(soundBytes - 8) + " points past the end of the file (" + to_string(bytes.size()) +
           " bytes)";
  file.sound.present = true;
  file.sound.byteCount = soundBytes;
  return DescribeSoundPart(file.SoundBytes(), &file.sound);
}

// Fills *h from the header's 51 bytes; returns the problem or an empty string.
std::string ParseHeader(const uint8_t* bytes, uint64_t offset, KdxHeader* header) {
  KdxHeader& h = *header;
  std::memcpy(h.bytes.data(), bytes, kHeaderSize);
  if (std::memcmp(h.bytes.data(), kMagic, sizeof kMagic - 1) != 0)
    return "wrong magic at offset " + to_string(offset) + ": expected \"KDX002000\"";
  for (const FixedByte& fixed : kFixedBytes) {
    if (h.bytes[fixed.offset] != fixed.value)
      return "header byte " + to_string(fixed.offset) + " is " + to_string(h.bytes[fixed.offset]) + ", expected " +
             to_string(fixed.value);
  }
  h.width = h.bytes[9];
  h.height = h.bytes[12];
  h.chunkSize = static_cast<int>(ReadLittleEndian(&h.bytes[21], 3));
  h.framesPerSecond = h.bytes[24];
  h.frameCount = static_cast<int>(ReadLittleEndian(&h.bytes[27], 3));
  h.framesPerChunk = h.bytes[36];
  if (h.width == 0 || h.height == 0) return "the header gives a frame size of 0";
  if (h.framesPerChunk == 0) return "the header gives 0 frames per chunk";
  if (h.chunkSize <= static_cast<int>(kLengthBytes)) return "chunk size " + to_string(h.chunkSize) + " is too small";
  if (h.framesPerSecond == 0 || h.framesPerSecond % h.framesPerChunk != 0)
    return "frames per second " + to_string(h.framesPerSecond) + " is not a whole multiple of the " +
           to_string(h.framesPerChunk) + " frames per chunk";
  if (h.frameCount % h.framesPerChunk != 0)
    return "frame count " + to_string(h.frameCount) + " is not a whole multiple of the " + to_string(h.framesPerChunk) +
           " frames per chunk";
  if (!MatchesAChunkPeriod(h))
    return "header damaged: " + to_string(h.framesPerSecond) + " frames per second match no chunk period of " +
           to_string(h.framesPerChunk) + " frames per chunk at height " + to_string(h.height);
  return {};
}

std::string HeaderTruncated(uint64_t available, uint64_t offset) {
  return "truncated file: " + to_string(available) + " bytes where the 51-byte KDX header should begin (offset " +
         to_string(offset) + ")";
}

std::string ReadHeader(KdxFile& file) {
  const uint64_t available = file.bytes.size() - file.headerOffset;
  if (available < kHeaderSize) return HeaderTruncated(available, file.headerOffset);
  std::string problem = ParseHeader(&file.bytes[file.headerOffset], file.headerOffset, &file.header);
  if (!problem.empty()) return problem;
  const KdxHeader& h = file.header;
  KdxGeometry& g = file.geometry;
  g.W = h.width;
  g.H = h.height;
  g.P = (h.height + 15) / 16 * 16;
  g.F = h.framesPerChunk;
  g.C = h.framesPerSecond / h.framesPerChunk;
  g.S = h.chunkSize;
  g.N = h.frameCount;
  file.playingSeconds = static_cast<double>(g.N) / h.framesPerSecond;
  return {};
}

std::string ReadChunks(KdxFile& file) {
  const KdxGeometry& g = file.geometry;
  const uint64_t areaOffset = file.headerOffset + kHeaderSize;
  const uint64_t area = file.bytes.size() - areaOffset;
  if (area % static_cast<uint64_t>(g.S) != 0)
    return "truncated file: the chunk area of " + to_string(area) + " bytes is not a whole multiple of the chunk size " +
           to_string(g.S);
  const uint64_t count = area / static_cast<uint64_t>(g.S);
  // The last chunk period of a run may go unwritten, no more.
  const uint64_t mostFrames = (count + 1) * static_cast<uint64_t>(g.F);
  if (static_cast<uint64_t>(g.N) > mostFrames)
    return "header damaged: frame count " + to_string(g.N) + " runs past the " + to_string(count) +
           " chunk records, which hold at most " + to_string(mostFrames) + " frames";
  for (uint64_t i = 0; i < count; ++i) {
    ChunkRecord record;
    record.offset = areaOffset + i * static_cast<uint64_t>(g.S);
    record.jpegLength = ReadLittleEndian(&file.bytes[record.offset], kLengthBytes);
    const std::string name = "chunk " + to_string(i) + ": ";
    if (record.jpegLength >= static_cast<uint32_t>(g.S) - kLengthBytes)
      return name + "JPEG length " + to_string(record.jpegLength) + " does not fit the chunk size " + to_string(g.S) +
             " (it must stay below " + to_string(g.S - kLengthBytes) + ")";
    file.chunks.push_back(record);
    const auto jpeg = file.ChunkJpeg(file.chunks.size() - 1);
    const auto size = ReadJpegSize(jpeg);
    if (!size) return name + "the JPEG does not decode (no frame header)";
    if (size->width != g.W || size->height != g.F * g.P)
      return name + "the JPEG is " + to_string(size->width) + "x" + to_string(size->height) + ", expected " +
             to_string(g.W) + "x" + to_string(g.F * g.P);
    const auto picture = DecodeJpeg(jpeg);
    if (!picture) return name + "the JPEG does not decode";
    if (picture->width != size->width || picture->height != size->height)
      return name + "the JPEG decodes to " + to_string(picture->width) + "x" + to_string(picture->height) +
             " instead of its stated " + to_string(size->width) + "x" + to_string(size->height);
  }
  return {};
}

}  // namespace

KdxLoadResult ParseKdx(std::vector<uint8_t> bytes) {
  KdxFile file;
  file.bytes = std::move(bytes);
  std::string problem = ReadSound(file);
  if (!problem.empty()) return Failure(std::move(problem));
  file.headerOffset = file.sound.byteCount;
  problem = ReadHeader(file);
  if (problem.empty()) problem = ReadChunks(file);
  if (!problem.empty()) return Failure(std::move(problem));
  return {std::move(file), {}};
}

KdxHeaderResult ReadKdxHeader(const std::string& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return {std::nullopt, "cannot open " + path + ": " + std::strerror(errno)};
  uint8_t bytes[kHeaderSize] = {};
  // The sound part, when there is one, says how far on the header is.
  uint64_t offset = 0;
  size_t n = std::fread(bytes, 1, 8, in);
  if (n == 8 && std::memcmp(bytes, "RIFF", 4) == 0) offset = static_cast<uint64_t>(ReadLittleEndian(&bytes[4], 4)) + 8;
  if (std::fseek(in, static_cast<long>(offset), SEEK_SET) == 0) n = std::fread(bytes, 1, kHeaderSize, in);
  std::fclose(in);
  KdxHeader header;
  std::string problem = n < kHeaderSize ? HeaderTruncated(n, offset) : ParseHeader(bytes, offset, &header);
  if (!problem.empty()) return {std::nullopt, std::move(problem)};
  return {header, {}};
}

KdxLoadResult LoadKdx(const std::string& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return Failure("cannot open " + path + ": " + std::strerror(errno));
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, in)) > 0) bytes.insert(bytes.end(), block, block + n);
  const int readError = std::ferror(in) ? errno : 0;
  std::fclose(in);
  if (readError != 0) return Failure("cannot read " + path + ": " + std::strerror(readError));
  return ParseKdx(std::move(bytes));
}

}  // namespace kdxreader
