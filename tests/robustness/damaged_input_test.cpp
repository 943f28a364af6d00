// SPDX-License-Identifier: GPL-2.0-or-later
// Damaged and unusable sources through the library and through kdxconvert:
// every one ends with a documented result or a message naming the file,
// and leaves either a valid KDX file or nothing, never a temporary.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "tests/robustness/damaged_inputs.h"
#include "tests/robustness/outcome_checks.h"

namespace kdxtest {
namespace {

namespace fs = std::filesystem;

// The smallest player keeps each run short; damage, not size, is on trial.
TRANSCODER_PARAM SmallRequest() { return MakeRequest(nullptr, 96, 64, true, 12, 35); }

void ConvertEachThroughLibrary(const std::vector<DamagedInput>& inputs, const ScratchDir& dir) {
  MessageQueue queue;
  const std::string out = dir.File("library_out");
  fs::create_directory(out);
  for (const DamagedInput& input : inputs) {
    const std::string destination = out + "/" + fs::path(input.path).stem().string() + ".kdx";
    const LibraryOutcome outcome = ConvertThroughLibrary(input.path, destination, SmallRequest(), queue);
    ExpectDocumentedOutcome(outcome, destination, input.label);
  }
  ExpectOnlyValidKdxFiles(out, "library output");
}

// One kdxconvert batch over all the inputs: it must finish within its time
// limit, give every input a line saying it was converted or why it failed,
// and write nothing but valid files, one per input it reports as converted.
// Returns the number converted.
int ConvertAllWithKdxconvert(const std::vector<DamagedInput>& inputs, const ScratchDir& dir) {
  std::string arguments = "--model NK-96 --overwrite --output '" + dir.File("cli_out") + "'";
  for (const DamagedInput& input : inputs) arguments += " '" + input.path + "'";
  std::string output;
  const int status = RunKdxconvert(dir, arguments, &output);
  EXPECT_TRUE(status == 0 || status == 1) << "exit status " << status << "\n" << output;
  EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
  EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
  int converted = 0;
  for (const DamagedInput& input : inputs) {
    // The result line, not the progress lines ("PATH: 40%, ...") before it.
    size_t line = output.find(input.path + ": ");
    while (line != std::string::npos && std::isdigit(static_cast<unsigned char>(output[line + input.path.size() + 2])))
      line = output.find(input.path + ": ", line + 1);
    if (line == std::string::npos) {
      ADD_FAILURE() << input.label << " got no message\n" << output;
      continue;
    }
    const size_t verdict = line + input.path.size();
    if (output.compare(verdict, 15, ": converted to ") == 0) {
      ++converted;
    } else {
      EXPECT_EQ(output.compare(verdict, 10, ": Failed. "), 0) << input.label << "\n" << output;
    }
  }
  EXPECT_EQ(status, converted == static_cast<int>(inputs.size()) ? 0 : 1) << output;
  if (fs::exists(dir.File("cli_out"))) {
    EXPECT_EQ(ExpectOnlyValidKdxFiles(dir.File("cli_out"), "kdxconvert output"), converted);
  }
  return converted;
}

class DamagedClip : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    fs::create_directory(dir_.File("in"));
    inputs_ = DamagedCopies(MediaPath(GetParam()), dir_.File("in"));
  }
  ScratchDir dir_;
  std::vector<DamagedInput> inputs_;
};

TEST_P(DamagedClip, LibraryEndsEveryRunAsDocumented) { ConvertEachThroughLibrary(inputs_, dir_); }

TEST_P(DamagedClip, KdxconvertReportsEveryFile) { ConvertAllWithKdxconvert(inputs_, dir_); }

// Containers and codecs the converter meets, one clip of each.
INSTANTIATE_TEST_SUITE_P(Clips, DamagedClip,
                         testing::Values("clip_h264_aac.mp4", "clip_h264_aac.mov", "clip_mpeg4_mp3.avi",
                                         "clip_mpeg2_mp2.mpg", "clip_wmv2_wma2.wmv", "clip_flv1_mp3.flv",
                                         "clip_rv20_ac3.rm", "no_frame_rate.nut"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

class NonVideo : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir_.File("in"));
    inputs_ = NonVideoInputs(MediaPath("clip_mpeg4_mp3.avi"), dir_.File("in"));
  }
  ScratchDir dir_;
  std::vector<DamagedInput> inputs_;
};

TEST_F(NonVideo, LibraryRefusesEachAtOnce) {
  MessageQueue queue;
  for (const DamagedInput& input : inputs_) {
    const std::string destination = dir_.File(fs::path(input.path).stem().string() + ".kdx");
    const LibraryOutcome outcome = ConvertThroughLibrary(input.path, destination, SmallRequest(), queue);
    // Random bytes may pass for some sound-only format; nothing here has a picture.
    EXPECT_TRUE(outcome.opened == VFW_E_CANNOT_RENDER || outcome.opened == VFW_E_NO_VIDEO_PATH)
        << input.label << std::hex << ": 0x" << outcome.opened;
    EXPECT_FALSE(fs::exists(destination)) << input.label;
  }
}

TEST_F(NonVideo, KdxconvertReportsEachFile) { EXPECT_EQ(ConvertAllWithKdxconvert(inputs_, dir_), 0); }

}  // namespace
}  // namespace kdxtest
