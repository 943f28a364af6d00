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
    Recorded{"clip_h264_aac.mp4", 128, 128, true, 15, 0, "71e1de25647bdec53435ee41871ed3adde856ccae1f313ca0d2062fb3b2cec75"},
    Recorded{"clip_mpeg4_mp3.avi", 128, 128, false, 15, 0, "a86e7899caef2ca2704e8c3ac51bc20eb6f95f3bfa6b4df157d9e20eb8903f1a"},
    Recorded{"clip_mpeg2_mp2.mpg", 176, 220, false, 20, 0, "8e7d44d5059f294387b490cc3749f86d485f34838a0e4903794f533c2f794a16"},
    Recorded{"clip_wmv2_wma2.wmv", 96, 64, true, 12, 0, "ee73f65cf3562d85cd3b51ecd8213a709f8d23d489107618e98e78a71ce7b80f"},
    Recorded{"clip_h264_aac.mov", 160, 128, true, 20, 0, "d8d224dccf9767b249171d1c379d493d77746f3f4e15a73c9821fe5bb0830bb7"},
    Recorded{"clip_flv1_mp3.flv", 128, 128, true, 15, 1, "07766cbf1683bd6fa64b595c516546d6b152f3ab5fa9385dd781ab0376ff5e87"},
    Recorded{"clip_rv20_ac3.rm", 128, 128, false, 15, 2, "4afdc23882d745ceafba160ef91787bbe8b79f410fb7b41f7eabf57227d64b9a"},
    Recorded{"six_channels.mp4", 176, 220, true, 20, 3, "d7d5c411e3a6c1f75a3bb21d3618d7594d20f6207619e567fe5d4478f250fe4b"},
    Recorded{"mono_48k.mp4", 128, 128, true, 15, 0, "a550dbf4f9db76d6d630e1ecea7e66f0fa5beb804505291d8b8174eb9aea506f"},
    Recorded{"odd_321x241.avi", 96, 64, false, 12, 0, "d6cd7a8c16755c8e0afd7f9f8a52984dd93086abdb3d51e6a37ad2885c17aff4"},
    Recorded{"portrait_240x320.mp4", 128, 128, false, 15, 0, "55da137a2546343e59f389c3a2d1153e21915df0d09946ad134a889868058d1d"},
    Recorded{"no_frame_rate.nut", 128, 128, true, 30, 0, "82e4878beb58c955840cb2ea05c36694b2a97eea953e8b3c66699ccaed90003d"}
));

}  // namespace
}  // namespace kdxtest
