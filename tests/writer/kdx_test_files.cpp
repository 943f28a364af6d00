// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/writer/kdx_test_files.h"

#include <IL/il.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "kdx.h"
#include "writer/binary_file.h"
#include "writer/chunk_record.h"
#include "writer/kdx_assembly.h"

namespace kdxtest {

namespace {

std::vector<uint8_t> EncodeJpeg(int width, int height, std::vector<uint8_t>& rgb) {
  ilInit();
  const ILuint image = ilGenImage();
  ilBindImage(image);
  ilTexImage(width, height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb.data());
  ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
  ilSetInteger(IL_JPG_QUALITY, 90);
  std::vector<uint8_t> jpeg(rgb.size() + 4096);
  const ILuint size = ilSaveL(IL_JPG, jpeg.data(), static_cast<ILuint>(jpeg.size()));
  ilDeleteImage(image);
  EXPECT_GT(size, 0u) << "DevIL could not encode a test JPEG";
  jpeg.resize(size);
  return jpeg;
}

}  // namespace

Rgb FrameColour(int frame) {
  return {static_cast<uint8_t>(40 + (frame * 70) % 180), static_cast<uint8_t>(220 - (frame * 50) % 180),
          static_cast<uint8_t>((frame % 2) * 160 + 40)};
}

bool NearColour(const uint8_t* a, const Rgb& b, int tolerance) {
  for (int c = 0; c < 3; ++c)
    if (std::abs(a[c] - b[c]) > tolerance) return false;
  return true;
}

std::vector<uint8_t> MakeChunkJpeg(const kdx::ChunkGeometry& g, int first) {
  std::vector<uint8_t> rgb(static_cast<size_t>(g.W) * g.F * g.P * 3);
  for (int row = 0; row < g.F * g.P; ++row) {
    // A white band marks the top of each frame; the rows below a frame
    // repeat its bottom row.
    const bool band = row % g.P < kTopBandRows;
    const Rgb colour = band ? kTopBand : FrameColour(first + row / g.P);
    for (int x = 0; x < g.W; ++x) std::copy(colour.begin(), colour.end(), &rgb[(static_cast<size_t>(row) * g.W + x) * 3]);
  }
  return EncodeJpeg(g.W, g.F * g.P, rgb);
}

std::vector<uint8_t> MakeFlatJpeg(int width, int height, const Rgb& colour) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) std::copy(colour.begin(), colour.end(), &rgb[i]);
  return EncodeJpeg(width, height, rgb);
}

void WriteImaAdpcmWave(const std::string& path, int channels, int sampleRate, int frames) {
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = sampleRate;
  info.format = SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  std::vector<float> samples(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) samples[static_cast<size_t>(i) * channels + c] = 0.5f * std::sin(0.05f * i * (c + 1));
  EXPECT_EQ(sf_writef_float(file, samples.data(), frames), frames);
  sf_close(file);
}

void WriteKdxFile(const std::string& destination, const KdxFilePlan& plan) {
  const std::string videoPath = destination + ".video-part";
  {
    kdx::BinaryFile video;
    ASSERT_TRUE(video.Open(videoPath, kdx::BinaryFile::Mode::CreateReadWrite));
    const std::vector<uint8_t> filler(5000, 0xA5);
    for (const auto& jpeg : plan.jpegs)
      ASSERT_TRUE(kdx::AppendChunkRecord(video, jpeg.data(), jpeg.size(), plan.geometry.S, filler.data(), filler.size()));

    std::remove(destination.c_str());
    if (!plan.soundPath.empty()) WriteBytes(destination, ReadBytes(plan.soundPath));
    kdx::BinaryFile output;
    ASSERT_TRUE(output.Open(destination, kdx::BinaryFile::Mode::AppendWrite));
    const std::atomic<int32_t> busy{TS_BUSY};
    const int32_t n = kdx::RoundFrameCount(plan.acceptedFrames, plan.geometry.F);
    ASSERT_TRUE(kdx::AppendKdxBody(output, video, plan.geometry, n, busy));
    ASSERT_TRUE(output.Close());
  }
  std::remove(videoPath.c_str());
}

KdxFilePlan ChunkedPlan(const kdx::ChunkGeometry& g, int chunks, const std::string& soundPath) {
  KdxFilePlan plan;
  plan.geometry = g;
  plan.acceptedFrames = chunks * g.F;
  for (int i = 0; i < chunks; ++i) plan.jpegs.push_back(MakeChunkJpeg(g, i * g.F));
  plan.soundPath = soundPath;
  return plan;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace kdxtest
