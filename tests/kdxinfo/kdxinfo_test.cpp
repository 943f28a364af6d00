// SPDX-License-Identifier: GPL-2.0-or-later
#include <IL/il.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "tests/writer/kdx_test_files.h"
#include "tools/kdxreader/kdx_file.h"
#include "tests/support/test_paths.h"

namespace {

using kdxtest::ReadBytes;

// What libsndfile reads from a WAVE file; IMA ADPCM pads the last block.
SF_INFO SoundInfo(const std::string& path) {
  SF_INFO info{};
  SNDFILE* sound = sf_open(path.c_str(), SFM_READ, &info);
  EXPECT_NE(sound, nullptr) << path << ": " << sf_strerror(nullptr);
  if (sound != nullptr) sf_close(sound);
  return info;
}
using kdxtest::WriteBytes;

constexpr size_t kHeaderSize = 51;

class KdxinfoTest : public testing::Test {
 protected:
  void SetUp() override {
    kdxtest::WriteImaAdpcmWave(dir_.File("sound.wav"), 2, 22050, 11025);
    soundBytes_ = ReadBytes(dir_.File("sound.wav")).size();
    kdxtest::WriteKdxFile(dir_.File("movie.kdx"), kdxtest::ChunkedPlan(geometry_, 2, dir_.File("sound.wav")));
  }

  // Runs kdxinfo with the arguments; returns its exit status.
  int Run(const std::string& arguments, std::string* output) {
    return kdxtest::RunCommand(kdxtest::BinPath("kdxinfo") + " " + arguments, output);
  }

  // Changes the file, runs kdxinfo on it and expects a refusal naming the problem.
  void ExpectRejected(const std::function<void(std::vector<uint8_t>&)>& damage, const std::string& problem) {
    auto bytes = ReadBytes(dir_.File("movie.kdx"));
    damage(bytes);
    WriteBytes(dir_.File("damaged.kdx"), bytes);
    std::string output;
    EXPECT_EQ(Run(dir_.File("damaged.kdx"), &output), 1) << output;
    EXPECT_NE(output.find(problem), std::string::npos) << output;
  }

  size_t HeaderAt() const { return soundBytes_; }
  size_t ChunkAt(size_t i) const { return soundBytes_ + kHeaderSize + i * geometry_.S; }

  kdxtest::ScratchDir dir_;
  const kdx::ChunkGeometry geometry_ = kdx::ComputeChunkGeometry(128, 96, 1.0 / 30, 60 * 1024, false);
  size_t soundBytes_ = 0;
};

TEST_F(KdxinfoTest, DescribesAndAcceptsAWriterMadeFile) {
  std::string output;
  ASSERT_EQ(Run(dir_.File("movie.kdx"), &output), 0) << output;
  char sound[128];
  std::snprintf(sound, sizeof sound, "Sound part: IMA ADPCM (format tag 0x0011), 2 channel(s), 22050 Hz, %.3f s, %zu bytes",
                SoundInfo(dir_.File("sound.wav")).frames / 22050.0, soundBytes_);
  EXPECT_NE(output.find(sound), std::string::npos) << output;
  EXPECT_NE(output.find("width 128, height 96, chunk size 12288, frames per second 30, frame count 12, frames per chunk 6"),
            std::string::npos) << output;
  EXPECT_NE(output.find("Geometry: W 128, H 96, P 96, F 6, C 5, S 12288, N 12"), std::string::npos) << output;
  EXPECT_NE(output.find("Chunk records: 2"), std::string::npos) << output;
  EXPECT_NE(output.find("Playing time: 0.400 s"), std::string::npos) << output;
  EXPECT_NE(output.find("Valid KDX file."), std::string::npos) << output;
}

TEST_F(KdxinfoTest, ExtractsEveryFrameAndTheSound) {
  const std::string frames = dir_.File("frames");
  std::string output;
  ASSERT_EQ(Run("--frames " + frames + " --audio " + dir_.File("out.wav") + " " + dir_.File("movie.kdx"), &output), 0)
      << output;

  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(frames)) {
    (void)entry;
    ++count;
  }
  EXPECT_EQ(count, 12u);
  ilInit();
  const ILuint image = ilGenImage();
  ilBindImage(image);
  for (int frame = 0; frame < 12; ++frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
    ASSERT_TRUE(ilLoad(IL_PNG, (frames + name).c_str())) << name;
    EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 128);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 96);
    uint8_t pixel[3];
    ilCopyPixels(64, 48, 0, 1, 1, 1, IL_RGB, IL_UNSIGNED_BYTE, pixel);
    EXPECT_TRUE(kdxtest::NearColour(pixel, kdxtest::FrameColour(frame))) << name;
    ilCopyPixels(64, 4, 0, 1, 1, 1, IL_RGB, IL_UNSIGNED_BYTE, pixel);
    EXPECT_TRUE(kdxtest::NearColour(pixel, kdxtest::kTopBand)) << name << " is upside down";
  }
  ilDeleteImage(image);

  EXPECT_EQ(ReadBytes(dir_.File("out.wav")), ReadBytes(dir_.File("sound.wav")));
  const SF_INFO info = SoundInfo(dir_.File("out.wav"));
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM);
  EXPECT_EQ(info.channels, 2);
  EXPECT_GE(info.frames, 11025);
}

TEST_F(KdxinfoTest, ReportsAFrameFolderItCannotMake) {
  std::string output;
  EXPECT_EQ(Run("--frames " + dir_.File("movie.kdx") + "/frames " + dir_.File("movie.kdx"), &output), 1);
  EXPECT_NE(output.find("cannot make folder"), std::string::npos) << output;
}

TEST_F(KdxinfoTest, AcceptsAFileWithoutSoundButHasNoSoundToExtract) {
  kdxtest::WriteKdxFile(dir_.File("mute.kdx"), kdxtest::ChunkedPlan(geometry_, 1, ""));
  std::string output;
  EXPECT_EQ(Run(dir_.File("mute.kdx"), &output), 0) << output;
  EXPECT_NE(output.find("Sound part: none"), std::string::npos) << output;
  EXPECT_EQ(Run("--audio " + dir_.File("out.wav") + " " + dir_.File("mute.kdx"), &output), 1);
  EXPECT_NE(output.find("no sound part"), std::string::npos) << output;
}

TEST_F(KdxinfoTest, RejectsDamagedStructure) {
  ExpectRejected([](auto& b) { b.resize(b.size() - 10); }, "truncated file: the chunk area");
  ExpectRejected([&](auto& b) { b.resize(HeaderAt() + 20); }, "truncated file: 20 bytes where the 51-byte KDX header");
  ExpectRejected([&](auto& b) { b[HeaderAt() + 3] = 'Y'; }, "wrong magic");
  ExpectRejected([&](auto& b) { b[HeaderAt() + 15] = 8; }, "header byte 15 is 8, expected 16");
  ExpectRejected([&](auto& b) { b[HeaderAt() + 44] = 0; }, "header byte 44 is 0, expected 1");
  ExpectRejected([&](auto& b) { b[HeaderAt() + 36] = 0; }, "0 frames per chunk");
  ExpectRejected([&](auto& b) { b[HeaderAt() + 27] = 13; }, "frame count 13 is not a whole multiple");
  // 81648 frames: "plays 5443 s" from two chunk records.
  ExpectRejected([&](auto& b) { b[HeaderAt() + 27] = 0xF0, b[HeaderAt() + 28] = 0x3E, b[HeaderAt() + 29] = 0x01; },
                 "header damaged: frame count 81648 runs past the 2 chunk records, which hold at most 18 frames");
  ExpectRejected([&](auto& b) { b[HeaderAt() + 27] = 24; }, "frame count 24 runs past the 2 chunk records");
  // Six frames of 128 rows make no chunk of 640 rows, and one-second chunks have F = frames per second.
  ExpectRejected([&](auto& b) { b[HeaderAt() + 12] = 128; },
                 "header damaged: 30 frames per second match no chunk period of 6 frames per chunk at height 128");
  ExpectRejected([](auto& b) { b[4] = 0xFF, b[5] = 0xFF, b[6] = 0xFF; }, "points past the end of the file");
  ExpectRejected([](auto& b) { b.resize(6); }, "truncated file: the sound part's RIFF header");
}

TEST_F(KdxinfoTest, HeaderAloneIsFoundBehindTheSoundAndChecked) {
  kdxtest::WriteKdxFile(dir_.File("mute.kdx"), kdxtest::ChunkedPlan(geometry_, 1, ""));
  for (const char* name : {"movie.kdx", "mute.kdx"}) {
    const kdxreader::KdxHeaderResult read = kdxreader::ReadKdxHeader(dir_.File(name));
    ASSERT_TRUE(read.header) << name << ": " << read.error;
    EXPECT_EQ(read.header->width, 128) << name;
    EXPECT_EQ(read.header->framesPerChunk, 6) << name;
    EXPECT_EQ(read.header->frameCount, 6 * (name == std::string("movie.kdx") ? 2 : 1)) << name;
  }
  auto damaged = [&](const std::function<void(std::vector<uint8_t>&)>& damage) {
    auto bytes = ReadBytes(dir_.File("movie.kdx"));
    damage(bytes);
    WriteBytes(dir_.File("damaged.kdx"), bytes);
    return kdxreader::ReadKdxHeader(dir_.File("damaged.kdx")).error;
  };
  EXPECT_NE(damaged([&](auto& b) { b[HeaderAt() + 3] = 'Y'; }).find("wrong magic"), std::string::npos);
  EXPECT_NE(damaged([&](auto& b) { b.resize(HeaderAt() + 20); }).find("truncated file: 20 bytes"), std::string::npos);
  EXPECT_NE(damaged([](auto& b) { b[6] = 0xFF; }).find("truncated file: 0 bytes"), std::string::npos);
  EXPECT_NE(kdxreader::ReadKdxHeader(dir_.File("none.kdx")).error.find("cannot open"), std::string::npos);
}

TEST_F(KdxinfoTest, RejectsDamagedChunks) {
  const int32_t S = geometry_.S;
  // L = S - 3 would reach the end of the record.
  ExpectRejected([&](auto& b) { b[ChunkAt(1)] = (S - 3) & 0xFF, b[ChunkAt(1) + 1] = (S - 3) >> 8; },
                 "chunk 1: JPEG length 12285 does not fit the chunk size 12288");
  ExpectRejected([&](auto& b) { std::fill(b.begin() + ChunkAt(0) + 3, b.begin() + ChunkAt(0) + 60, 0x33); },
                 "chunk 0: the JPEG does not decode");
  // A JPEG cut short after its headers.
  ExpectRejected([&](auto& b) { b[ChunkAt(1)] = 0x2C, b[ChunkAt(1) + 1] = 0x02, b[ChunkAt(1) + 2] = 0; },
                 "chunk 1: the JPEG does not decode");

  // A JPEG of the wrong height in an otherwise sound file.
  auto plan = kdxtest::ChunkedPlan(geometry_, 2, dir_.File("sound.wav"));
  plan.jpegs[1] = kdxtest::MakeFlatJpeg(128, 96, {10, 20, 30});
  kdxtest::WriteKdxFile(dir_.File("movie.kdx"), plan);
  ExpectRejected([](auto&) {}, "chunk 1: the JPEG is 128x96, expected 128x576");
}

// Offset of the first RIFF chunk with that id in the sound part.
size_t RiffChunkAt(const std::vector<uint8_t>& bytes, const char* id) {
  for (size_t at = 12; at + 8 <= bytes.size();) {
    if (std::memcmp(&bytes[at], id, 4) == 0) return at;
    const uint32_t size = bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 | bytes[at + 7] << 24;
    at += 8 + size + (size & 1);
  }
  ADD_FAILURE() << "no " << id << " chunk";
  return 0;
}

// Offset of a JPEG marker (0xFF, marker) at or after `from`.
size_t MarkerAt(const std::vector<uint8_t>& bytes, size_t from, uint8_t marker) {
  for (size_t at = from; at + 1 < bytes.size(); ++at)
    if (bytes[at] == 0xFF && bytes[at + 1] == marker) return at;
  ADD_FAILURE() << "no marker " << int{marker};
  return from;
}

TEST_F(KdxinfoTest, CutAtEveryStructuralBoundary) {
  const auto original = ReadBytes(dir_.File("movie.kdx"));
  const size_t fmt = RiffChunkAt(original, "fmt ");
  const size_t data = RiffChunkAt(original, "data");
  const std::string pastEnd = "points past the end of the file";
  const std::string noHeader = "bytes where the 51-byte KDX header should begin";
  const std::string partChunk = "is not a whole multiple of the chunk size";
  struct Cut {
    size_t length;
    int status;
    std::string says;
  } cuts[] = {
      {0, 1, "truncated file: 0 " + noHeader},
      {3, 1, "truncated file: 3 " + noHeader},
      {4, 1, "the sound part's RIFF header is cut off"},
      {8, 1, pastEnd},
      {12, 1, pastEnd},
      {fmt + 4, 1, pastEnd},
      {fmt + 10, 1, pastEnd},
      {data, 1, pastEnd},
      {data + 8, 1, pastEnd},
      {HeaderAt() - 1, 1, pastEnd},
      {HeaderAt(), 1, "truncated file: 0 " + noHeader},
      {HeaderAt() + 9, 1, "truncated file: 9 " + noHeader},
      {HeaderAt() + 50, 1, "truncated file: 50 " + noHeader},
      // Two chunks short: more frames counted than the one unwritten chunk period explains.
      {ChunkAt(0), 1, "frame count 12 runs past the 0 chunk records"},
      {ChunkAt(0) + 1, 1, partChunk},
      {ChunkAt(0) + 3, 1, partChunk},
      {ChunkAt(1) - 1, 1, partChunk},
      // One whole record short is a valid file: a run's last chunk period may go unwritten.
      {ChunkAt(1), 0, "Chunk records: 1"},
      {ChunkAt(1) + geometry_.S / 2, 1, partChunk},
      {ChunkAt(2), 0, "Chunk records: 2"},
  };
  ASSERT_EQ(ChunkAt(2), original.size());
  for (const Cut& cut : cuts) {
    WriteBytes(dir_.File("cut.kdx"), std::vector<uint8_t>(original.begin(), original.begin() + cut.length));
    std::string output;
    EXPECT_EQ(Run(dir_.File("cut.kdx"), &output), cut.status) << "cut at " << cut.length << ": " << output;
    EXPECT_NE(output.find(cut.says), std::string::npos) << "cut at " << cut.length << ": " << output;
  }
}

TEST_F(KdxinfoTest, RejectsHugeLengthFields) {
  const auto original = ReadBytes(dir_.File("movie.kdx"));
  const size_t fmt = RiffChunkAt(original, "fmt ");
  const size_t data = RiffChunkAt(original, "data");
  const auto setLength = [](std::vector<uint8_t>& b, size_t at, int bytes) { std::fill_n(b.begin() + at, bytes, 0xFF); };
  ExpectRejected([&](auto& b) { setLength(b, 4, 4); }, "RIFF size 4294967295 points past the end");
  // Chunks of the sound part may not reach into the KDX header.
  ExpectRejected([&](auto& b) { setLength(b, fmt + 4, 4); },
                 "chunk at offset " + std::to_string(fmt) + " claims 4294967295 bytes, past the end of the sound part");
  ExpectRejected([&](auto& b) { setLength(b, data + 4, 4); },
                 "chunk at offset " + std::to_string(data) + " claims 4294967295 bytes, past the end of the sound part");
  ExpectRejected([&](auto& b) { setLength(b, HeaderAt() + 21, 3); }, "not a whole multiple of the chunk size 16777215");
  ExpectRejected([&](auto& b) { setLength(b, ChunkAt(1), 3); }, "chunk 1: JPEG length 16777215 does not fit");
  // A JPEG segment that claims to run past the picture hides the frame header.
  ExpectRejected([&](auto& b) { setLength(b, ChunkAt(0) + 3 + 4, 2); }, "chunk 0: the JPEG does not decode (no frame header)");
  // A picture stating 65535 x 65535 is refused before anything is decoded.
  ExpectRejected([&](auto& b) { setLength(b, MarkerAt(b, ChunkAt(1) + 3, 0xC0) + 5, 4); },
                 "chunk 1: the JPEG is 65535x65535, expected 128x576");
}

TEST_F(KdxinfoTest, SurvivesRandomDamage) {
  const auto original = ReadBytes(dir_.File("movie.kdx"));
  std::mt19937 random(20240611);
  for (int round = 0; round < 60; ++round) {
    auto bytes = original;
    if (round % 3 == 0) {
      bytes.resize(std::uniform_int_distribution<size_t>(0, bytes.size() - 1)(random));
    } else {
      for (int flips = 0; flips < 1 + round % 5; ++flips)
        bytes[std::uniform_int_distribution<size_t>(0, bytes.size() - 1)(random)] ^=
            static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(random));
    }
    WriteBytes(dir_.File("damaged.kdx"), bytes);
    std::string output;
    const int status = Run("--frames " + dir_.File("frames") + " " + dir_.File("damaged.kdx"), &output);
    EXPECT_TRUE(status == 0 || status == 1) << "round " << round << ": " << output;
    EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << "round " << round << ": " << output;
    EXPECT_EQ(output.find("runtime error"), std::string::npos) << "round " << round << ": " << output;
  }
}

TEST_F(KdxinfoTest, AnswersItsCommandLine) {
  std::ofstream(dir_.File("text.kdx")) << "no KDX file";
  const struct {
    std::string arguments;  // @KDX: the valid file, @TEXT: a file that is none
    int status;
    std::string shown;
  } rows[] = {
      {"--help", 0, "--frames DIR"},
      {"--version", 0, "kdxinfo (Norvik KDX Video Converter) 1.4.2.0\n"},
      {"", 2, "no KDX file given"},
      {"--bogus @KDX", 2, "unknown option '--bogus'"},
      {"--frames", 2, "--frames needs a value"},
      {"@KDX @KDX", 2, "only one KDX file at a time"},
      {"@MISSING", 1, "cannot open"},
      {"@DIR", 1, "cannot read"},
      {"@KDX --json", 0,
       R"({"file":"@KDX","valid":true,"sound":{"format":"IMA ADPCM","format_tag":17,"channels":2,"sample_rate":22050,)"},
      {"--json @KDX", 0, R"("geometry":{"W":128,"H":96,"P":96,"F":6,"C":5,"S":12288,"N":12},"chunk_records":2,"playing_seconds":0.4})" "\n"},
      {"--json @TEXT", 1,
       R"j({"file":"@TEXT","valid":false,"error":"truncated file: 11 bytes where the 51-byte KDX header should begin (offset 0)"})j"
       "\n"},
      {"--json --frames @KDX/x @KDX", 1, R"("chunk_records":2,"playing_seconds":0.4,"error":"cannot make folder @KDX/x: )"},
  };
  for (const auto& row : rows) {
    const auto placed = [this](std::string text) {
      for (const auto& [name, path] : {std::pair<std::string, std::string>{"@KDX", dir_.File("movie.kdx")},
                                       {"@TEXT", dir_.File("text.kdx")}, {"@MISSING", dir_.File("missing.kdx")},
                                       {"@DIR", dir_.path()}}) {
        for (size_t at = 0; (at = text.find(name, at)) != std::string::npos; at += path.size()) text.replace(at, name.size(), path);
      }
      return text;
    };
    std::string output;
    EXPECT_EQ(Run(placed(row.arguments), &output), row.status) << row.arguments << "\n" << output;
    EXPECT_NE(output.find(placed(row.shown)), std::string::npos) << row.arguments << "\n" << output;
  }
}

}  // namespace
