// Converted files stay byte for byte what they were when these checksums
// were recorded: the speed work of the pipeline (lazy colour conversion,
// one measure per JPEG quality, chunks written from bytes already encoded,
// overlapped work) must never change an output.
#include <gtest/gtest.h>

#include <string>

#include "kdx.h"
#include "run_harness.h"
#include "test_paths.h"

namespace kdxtest {
namespace {

struct Recorded {
  const char* clip;
  int width;
  int height;
  bool fit;
  int frameRate;
  int rotate;
  const char* sha256;
};

std::string Sha256Of(const std::string& path) {
  std::string output;
  if (RunCommand("sha256sum '" + path + "'", &output) != 0) return "";
  return output.substr(0, 64);
}

class OutputIdentity : public ::testing::TestWithParam<Recorded> {};

TEST_P(OutputIdentity, MatchesTheRecordedChecksum) {
  const Recorded& r = GetParam();
  MessageQueue queue;
  ScratchDir dir;
  TRANSCODER_PARAM request = MakeRequest(queue.window(), r.width, r.height, r.fit, r.frameRate);
  request.nRotate = r.rotate;
  RunMessages run;
  ASSERT_EQ(ConvertFile(MediaPath(r.clip), dir.File("out.kdx"), request, queue, &run), S_OK);
  CloseTranscoder();
  ASSERT_EQ(run.errorCount, 0);
  EXPECT_EQ(Sha256Of(dir.File("out.kdx")), r.sha256) << r.clip;
}

INSTANTIATE_TEST_SUITE_P(Clips, OutputIdentity, ::testing::Values(
    Recorded{"clip_h264_aac.mp4", 128, 128, true, 15, 0, "df12386c0757db0fe5fee082387f8efb8ff8271821e8fdab582ec495ee447779"},
    Recorded{"clip_mpeg4_mp3.avi", 128, 128, false, 15, 0, "1b632beb5fb59f5c85c6ae90cb0f2911d0d575a0d6dc9472038fb9b25038acb5"},
    Recorded{"clip_mpeg2_mp2.mpg", 176, 220, false, 20, 0, "511eb00cf8fafe69ff7cbb9d6ef76c3a7e15ea6d85594b2979c9400fd4316aab"},
    Recorded{"clip_wmv2_wma2.wmv", 96, 64, true, 12, 0, "b8525bedf89a046558de0de46fb098a7c38ac1456698d7d2b68c8acdedcc0621"},
    Recorded{"clip_h264_aac.mov", 160, 128, true, 20, 0, "c8e63bd51600035b37c45fcdfdcd45705498c8814aa9910a45ef115a37a1e638"},
    Recorded{"clip_flv1_mp3.flv", 128, 128, true, 15, 1, "7782393646f3f7fad3eaaee933445a5bc8315f38769dfee2815422cb466fa3e6"},
    Recorded{"clip_rv20_ac3.rm", 128, 128, false, 15, 2, "752ab898f3a9d8dc636c2064bd135606799cc0a5b8279dea67afe4cf95396d6e"},
    Recorded{"six_channels.mp4", 176, 220, true, 20, 3, "8cbccc168540b08a81ea041707b5234ee999bd6961807d9bbcd28daa6dda634d"},
    Recorded{"mono_48k.mp4", 128, 128, true, 15, 0, "0924bfffd036c10f7d26619dd415840149268ee3bf3787d8a3d2412c9182fd72"},
    Recorded{"odd_321x241.avi", 96, 64, false, 12, 0, "b125c78635ab10aa82b7c1bd0b5846f164026a144ef0467a19af89c544532094"},
    Recorded{"portrait_240x320.mp4", 128, 128, false, 15, 0, "8e938ff031a5704f32e34508f465f5be75d51ce9ac6d3df02f49adbbe3e1ed18"},
    Recorded{"no_frame_rate.nut", 128, 128, true, 30, 0, "dada7244309ad54138d7d66a967799c57a11cc0718b4701b845ecef7ac446148"}
));

}  // namespace
}  // namespace kdxtest
