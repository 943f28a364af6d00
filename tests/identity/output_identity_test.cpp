// SPDX-License-Identifier: GPL-2.0-or-later
// Converted files stay byte for byte what they were when these checksums
// were recorded: the speed work of the pipeline (lazy colour conversion,
// one measure per JPEG quality, chunks written from bytes already encoded,
// overlapped work) must never change an output.
#include <gtest/gtest.h>

#include <string>

#include "kdx.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

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
    Recorded{"clip_h264_aac.mp4", 128, 128, true, 15, 0, "b8136eff83ab8597a391caadca41a548006161f9aeabbca4847a034f835ebc38"},
    Recorded{"clip_mpeg4_mp3.avi", 128, 128, false, 15, 0, "71d473c7ae6d3ea940362677bcb73649b8fe2cb801acf881cf00894fc53addce"},
    Recorded{"clip_mpeg2_mp2.mpg", 176, 220, false, 20, 0, "b5bc0808e7536a0a9ea24b40875c725df476ad89a00bb45e2b8172a2216efc88"},
    Recorded{"clip_wmv2_wma2.wmv", 96, 64, true, 12, 0, "37de0823aaaac8ca95ddbcfcc5c64074fd1abddb387160bb60fe52bf45f0048d"},
    Recorded{"clip_h264_aac.mov", 160, 128, true, 20, 0, "f6ea38572061dfd7e8ef1b9c5d8de9b3ba4d98690bbc4e8f173b851019506dac"},
    Recorded{"clip_flv1_mp3.flv", 128, 128, true, 15, 1, "44330bbd9dd715a5e081f9f48df618779d54fcd988a85e7f9e3f17fbbf5b82a8"},
    Recorded{"clip_rv20_ac3.rm", 128, 128, false, 15, 2, "c6963163dfeec0d0f171289b7773ab9838dab886d63c4f25ed69d74c97e37b9d"},
    Recorded{"six_channels.mp4", 176, 220, true, 20, 3, "4be17f380ab70eb438b982cbf2beb899da5dd5f00a704fb9b39da9eb8d34e879"},
    Recorded{"mono_48k.mp4", 128, 128, true, 15, 0, "a32073e7c5974b6816d15d105e0a4a2d2d3dd40c230e4ee1bd31a6a14a9cf4f0"},
    Recorded{"odd_321x241.avi", 96, 64, false, 12, 0, "aa6bdf97047c5f025e8d31d2810cc5e86f2b8d6a57ce7666f0e26e53eeee0918"},
    Recorded{"portrait_240x320.mp4", 128, 128, false, 15, 0, "6d38a0d81196265db74bc72d08ff7d5f46e3926d1a7073c40cc44f18cdc56188"},
    Recorded{"no_frame_rate.nut", 128, 128, true, 30, 0, "ab921671b948d65b919f3293a583fa9b40dfa27c992ff64bcfd5266430cd975c"}
));

}  // namespace
}  // namespace kdxtest
