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
    Recorded{"clip_h264_aac.mp4", 128, 128, true, 15, 0, "0cdd1ba3df340838a7a01b281db161c2c44b6f80d1c55e2acf7feab61fd22cfc"},
    Recorded{"clip_mpeg4_mp3.avi", 128, 128, false, 15, 0, "f22caa312dbfe765eb33349916ec98d98531ea5ee7853419add6e0c0ced896dd"},
    Recorded{"clip_mpeg2_mp2.mpg", 176, 220, false, 20, 0, "4f1cead04098e493c8189fbc72b7e15abf0864c0d0be474dc955c2e930ec3e6c"},
    Recorded{"clip_wmv2_wma2.wmv", 96, 64, true, 12, 0, "8db38cec848bd834ea8131fc707f389a883d5611684eef7f27368dcda9c12708"},
    Recorded{"clip_h264_aac.mov", 160, 128, true, 20, 0, "beccd1dc14b9c446934022b3eaba36f62de058284344206104f8f0b6d5522439"},
    Recorded{"clip_flv1_mp3.flv", 128, 128, true, 15, 1, "83f6f6d31b70ad7b2335737e9c1c84731e9149fd060fff5287db75270fa1456a"},
    Recorded{"clip_rv20_ac3.rm", 128, 128, false, 15, 2, "05bc159178b719074753fca07b3e0dd3d81e369ee07502f09b851feb78dd5124"},
    Recorded{"six_channels.mp4", 176, 220, true, 20, 3, "9ea498f0fd589bbabe3b0112088b43a8bf12cbbdf3060eee0cce9a2a6eead354"},
    Recorded{"mono_48k.mp4", 128, 128, true, 15, 0, "5e668c7129ecce7d5dec9d754fd2c66e6352d62552772589771ec5c573e1419e"},
    Recorded{"odd_321x241.avi", 96, 64, false, 12, 0, "cb224edb6684161874560d033b753f66685b76dbe39327a7a0a5decc175542ba"},
    Recorded{"portrait_240x320.mp4", 128, 128, false, 15, 0, "8fb030f811060be4c308117cb9a30a4d55ca233444fec8eed39e0c6deccb8193"},
    Recorded{"no_frame_rate.nut", 128, 128, true, 30, 0, "85fb3701097d63c441e8ea3b8dfa68c8a28963f08b8ececd66261c472024a167"}
));

}  // namespace
}  // namespace kdxtest
