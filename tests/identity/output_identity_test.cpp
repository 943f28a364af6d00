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
    Recorded{"clip_h264_aac.mp4", 128, 128, true, 15, 0, "37ecea85f55442c708368eced876f19b4965004dd8f74251dbb8a7f555e916f7"},
    Recorded{"clip_mpeg4_mp3.avi", 128, 128, false, 15, 0, "28d7736f389d9aa786f1a16473f6a2715fb2bb9ed8e1ef3bc34c60bb790a5e9a"},
    Recorded{"clip_mpeg2_mp2.mpg", 176, 220, false, 20, 0, "eb81be2e27fa56515dd5b9733ca07fe968b6726e90054f49bc5083122b487e12"},
    Recorded{"clip_wmv2_wma2.wmv", 96, 64, true, 12, 0, "f663e51838bdae78eafb8ea9f87ec4443ff0190644fc3e95c5908bebef7003ee"},
    Recorded{"clip_h264_aac.mov", 160, 128, true, 20, 0, "b0729465c1539761b4f5fb6c60400efd161c79a06260b508ac0097fbbcf8256a"},
    Recorded{"clip_flv1_mp3.flv", 128, 128, true, 15, 1, "a28d38f9af8809f6c6692d4fb065a9a87b6667ba4e9bf8d2592f8ea02e20f8f4"},
    Recorded{"clip_rv20_ac3.rm", 128, 128, false, 15, 2, "4a00e4a9bd3ec227a0ded7bc9dd2b2261b57d1827880045f6ba654bd1683f19f"},
    Recorded{"six_channels.mp4", 176, 220, true, 20, 3, "50efa8fd24be643140e35e2646ce69c0f19646e761fd78e790dd7dff8d5017ed"},
    Recorded{"mono_48k.mp4", 128, 128, true, 15, 0, "acdc9ecf8b2b64b52a4b935964f4fbe42958f746a0f3ce9b6fafa8865215c927"},
    Recorded{"odd_321x241.avi", 96, 64, false, 12, 0, "cad03ae681c59aeb38c7a1db5f571e30d79f9637133f16cf83b3bf09e63e6d8c"},
    Recorded{"portrait_240x320.mp4", 128, 128, false, 15, 0, "72690a92614c05a57e3d8e7a4578b8b520c81b9944aff5ae1fc33fc07dbf58d7"},
    Recorded{"no_frame_rate.nut", 128, 128, true, 30, 0, "a09cb0fc12d39892231c3babbca81dd4f3c6150f45023d9ba9670ceabb8db9a5"}
));

}  // namespace
}  // namespace kdxtest
