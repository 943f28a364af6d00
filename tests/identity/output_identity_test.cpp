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
    Recorded{"clip_h264_aac.mp4", 128, 128, true, 15, 0, "520cb3619e1ceff24323fc14a01ba168be3101c9ff6439e5e892d684c65b6bac"},
    Recorded{"clip_mpeg4_mp3.avi", 128, 128, false, 15, 0, "cb8a45783789979f949e8f86d5ae60831b83ae133012e2168df702907a7ed40e"},
    Recorded{"clip_mpeg2_mp2.mpg", 176, 220, false, 20, 0, "7cb85602fb600a2f8135bc8a5207e2e2b8c7fcfc8049a172c854203f389f0225"},
    Recorded{"clip_wmv2_wma2.wmv", 96, 64, true, 12, 0, "2379be012b414eea06db11b26cf5127750210f82687a650c7cd440baaaa2bd6c"},
    Recorded{"clip_h264_aac.mov", 160, 128, true, 20, 0, "1ef9821b3d1b7b62b3999b48fa44e529c265b0a6f6540934be70abea0dc89064"},
    Recorded{"clip_flv1_mp3.flv", 128, 128, true, 15, 1, "11d4358bb4b0237284835294b0e1a0fa01f30835dc0a3700f571214126b89526"},
    Recorded{"clip_rv20_ac3.rm", 128, 128, false, 15, 2, "4e2c38115e270660d722c90a0d0027dca500f9a9e032e71b767ade85f78ce602"},
    Recorded{"six_channels.mp4", 176, 220, true, 20, 3, "1befc8ac984c0009fa2245c0b10bef6d943e009c61c641c23a19c6620c0c33c8"},
    Recorded{"mono_48k.mp4", 128, 128, true, 15, 0, "4117d7b21c265fdc4c3aff37a9ee28505348dcb3d3d72d00d462c2db5f612653"},
    Recorded{"odd_321x241.avi", 96, 64, false, 12, 0, "cdef6ffa24c935807c24d46382ea36a99f9172440c4a999774f86995573ec4de"},
    Recorded{"portrait_240x320.mp4", 128, 128, false, 15, 0, "8903a9d5e3bcc58b040ed3ec09998fc316e4cea54cfeffb881044c1cff9fe17b"},
    Recorded{"no_frame_rate.nut", 128, 128, true, 30, 0, "ab12a5fffd7ecc8bbd04519f7ab0de5a94243973f2297e788124dba8daded125"}
));

}  // namespace
}  // namespace kdxtest
