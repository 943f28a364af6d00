// SPDX-License-Identifier: GPL-2.0-or-later
// Builds KDX files for tests with the writer's own functions: chunk JPEGs
// made with DevIL, one flat colour per frame, and an optional IMA ADPCM sound
// part written with libsndfile.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "writer/chunk_geometry.h"

namespace kdxtest {

using Rgb = std::array<uint8_t, 3>;

// A colour that tells frame i from its neighbours after JPEG compression.
Rgb FrameColour(int frame);

// True when every channel of a differs from b by at most tolerance.
bool NearColour(const uint8_t* a, const Rgb& b, int tolerance = 16);

// One chunk picture (W x F*P) as a JPEG: slot j shows FrameColour(first + j)
// below a white band of kTopBandRows rows.
constexpr int kTopBandRows = 16;
constexpr Rgb kTopBand = {255, 255, 255};
std::vector<uint8_t> MakeChunkJpeg(const kdx::ChunkGeometry& g, int first);

// A JPEG of any size in one colour.
std::vector<uint8_t> MakeFlatJpeg(int width, int height, const Rgb& colour);

// An IMA ADPCM WAVE file of a sine tone.
void WriteImaAdpcmWave(const std::string& path, int channels, int sampleRate, int frames);

struct KdxFilePlan {
  kdx::ChunkGeometry geometry;
  int32_t acceptedFrames = 0;        // N is this rounded down to F
  std::vector<std::vector<uint8_t>> jpegs;  // one per chunk record
  std::string soundPath;             // a WAVE file to start with, or empty
};

// Assembles the destination the way a run does: the sound part, then the
// header and the chunk area appended from a ".video" file.
void WriteKdxFile(const std::string& destination, const KdxFilePlan& plan);

// A plan with "chunks" chunk records of MakeChunkJpeg pictures.
KdxFilePlan ChunkedPlan(const kdx::ChunkGeometry& g, int chunks, const std::string& soundPath);

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace kdxtest
