// SPDX-License-Identifier: GPL-2.0-or-later
// What callers see for unusual sources and requests.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/base/bitmap.h"
#include "kdx.h"
#include "tests/transcoder/kdx_check.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

namespace kdxtest {
namespace {

namespace fs = std::filesystem;

class Outcomes : public ::testing::Test {
 protected:
  void TearDown() override { CloseTranscoder(); }
  MessageQueue queue;
  ScratchDir dir;
};

// Silence makes up for a missing sound track only: not for pictures (cover
// art and photos are none), nor for sound nothing decodes.
TEST_F(Outcomes, SourcesWithoutAPathOrUnreadableAreRefusedWithTheirCodesAndWhy) {
  struct Case {
    const char* clip;
    HRESULT expected;
    int32_t reason;
    uint32_t flags = KDX_OPEN_ADD_SILENCE;
  } cases[] = {{"video_only.mp4", VFW_E_NO_AUDIO_PATH, KDX_REASON_NO_STREAM, 0},
               {"audio_only.mp4", VFW_E_NO_VIDEO_PATH, KDX_REASON_NO_STREAM},
               {"cover_art.mp3", VFW_E_NO_VIDEO_PATH, KDX_REASON_NO_STREAM},
               {"photo.jpg", VFW_E_NO_VIDEO_PATH, KDX_REASON_NO_STREAM},
               {"undecodable_sound.mkv", VFW_E_NO_AUDIO_PATH, KDX_REASON_NO_DECODER},
               {"undecodable_pictures.mkv", VFW_E_NO_VIDEO_PATH, KDX_REASON_NO_DECODER},
               {"text_file.avi", VFW_E_CANNOT_RENDER, KDX_REASON_NONE}};
  for (const Case& c : cases) {
    int64_t duration = -1;
    int32_t reason = -1;
    EXPECT_EQ(NewTranscoderEx(queue.window(), MediaPath(c.clip).c_str(), dir.File("out.kdx").c_str(), &duration,
                              c.flags, &reason),
              c.expected)
        << c.clip;
    EXPECT_EQ(reason, c.reason) << c.clip;
    // No run may start on a transcoder that could not be built.
    TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
    EXPECT_EQ(Transcode(&request), 0) << c.clip;
  }
  EXPECT_FALSE(fs::exists(dir.File("out.kdx")));
}

TEST_F(Outcomes, OpeningTouchesNothingAndRefusesTheSourceAsItsDestination) {
  const std::string source = dir.File("source.avi");
  fs::copy_file(MediaPath("clip_mpeg4_mp3.avi"), source);
  const std::string older = dir.File("old.kdx");
  { std::FILE* f = std::fopen(older.c_str(), "w"); std::fputs("old", f); std::fclose(f); }
  fs::create_symlink("source.avi", dir.File("link.kdx"));
  fs::create_hard_link(source, dir.File("hard.kdx"));
  fs::create_directory(dir.File("sub"));
  const std::string listing = dir.Listing();
  struct Case {
    std::string destination;
    HRESULT expected;
  } cases[] = {{older, S_OK},
               {source, E_INVALIDARG},
               {dir.File("link.kdx"), E_INVALIDARG},
               {dir.File("hard.kdx"), E_INVALIDARG},
               {dir.File("sub/../source.avi"), E_INVALIDARG}};
  for (const Case& c : cases) {
    int64_t duration = -1;
    EXPECT_EQ(NewTranscoder(queue.window(), source.c_str(), c.destination.c_str(), &duration), c.expected)
        << c.destination;
    if (c.expected == S_OK) {
      EXPECT_NEAR(static_cast<double>(duration) / 1e7, 3.0, 0.2);
    } else {
      EXPECT_EQ(duration, 0) << c.destination;
      TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
      EXPECT_EQ(Transcode(&request), 0) << c.destination;
    }
    EXPECT_EQ(ReadFile(older), "old") << c.destination;
    EXPECT_EQ(fs::file_size(source), fs::file_size(MediaPath("clip_mpeg4_mp3.avi"))) << c.destination;
    EXPECT_EQ(dir.Listing(), listing) << c.destination;
  }
}

TEST_F(Outcomes, ControlCallsWithoutARunAnswerAtOnce) {
  EXPECT_EQ(StopTranscode(), 1);
  EXPECT_EQ(CloseTranscoder(), 1);
  EXPECT_EQ(CloseTranscoder(), 1);
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  EXPECT_EQ(Transcode(&request), 0);  // no transcoder
  EXPECT_EQ(Transcode(nullptr), 0);
}

TEST_F(Outcomes, BusyRunRefusesASecondStartAndKeepsTheCallersRate) {
  int64_t duration = 0;
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath("clip_h264_aac.mp4").c_str(), dir.File("a.kdx").c_str(), &duration),
            S_OK);
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  ASSERT_EQ(Transcode(&request), 1);
  EXPECT_EQ(Transcode(&request), 0);
  EXPECT_EQ(request.nVideoKBps, 35);
  RunMessages run = CollectRun(queue);
  EXPECT_EQ(run.finalCount, 1);
  EXPECT_EQ(run.errorCount, 0);
  EXPECT_TRUE(fs::exists(dir.File("a.kdx")));
}

TEST_F(Outcomes, RequestsTheHeaderCannotHoldAreRefusedAndTheLargestThatFitsIsWrittenExactly) {
  int64_t duration = 0;
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath("clip_h264_aac.mp4").c_str(), dir.File("a.kdx").c_str(), &duration),
            S_OK);
  struct Case {
    const char* what;
    void (*change)(TRANSCODER_PARAM&);
  } refused[] = {
      {"width above one byte", [](TRANSCODER_PARAM& r) { r.nMaxWidth = 256; }},
      {"height above one byte", [](TRANSCODER_PARAM& r) { r.nMaxHeight = 300; }},
      {"no width", [](TRANSCODER_PARAM& r) { r.nMaxWidth = 0; }},
      {"negative height", [](TRANSCODER_PARAM& r) { r.nMaxHeight = -128; }},
      {"chunk size above three bytes", [](TRANSCODER_PARAM& r) { r.nVideoKBps = 16384; }},
      {"rate overflowing in bytes", [](TRANSCODER_PARAM& r) { r.nVideoKBps = 1 << 22; }},
      {"no data rate", [](TRANSCODER_PARAM& r) { r.nVideoKBps = 0; }},
      {"frame rate above one byte", [](TRANSCODER_PARAM& r) { r.nFrameRate = 256; }},
  };
  for (const Case& c : refused) {
    TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
    c.change(request);
    EXPECT_EQ(Transcode(&request), 0) << c.what;
  }
  // Nothing was started by the refusals: a good request still runs.
  TRANSCODER_PARAM largest = MakeRequest(queue.window(), 255, 255, false);
  ASSERT_EQ(Transcode(&largest), 1);
  RunMessages run = CollectRun(queue);
  EXPECT_EQ(run.errorCount, 0);
  ScratchDir kept;
  fs::copy_file(dir.File("a.kdx"), kept.File("a.kdx"));

  TRANSCODER_PARAM fastest = MakeRequest(queue.window(), 128, 128, true, 255, 16383);
  EXPECT_EQ(Transcode(&fastest), 1);
  EXPECT_EQ(StopTranscode(), 1);
  EXPECT_EQ(CollectRun(queue).finalCount, 1);
  // The reader has an image-library session of its own: only after the close.
  CloseTranscoder();
  const kdxreader::KdxFile file = LoadValid(kept.File("a.kdx"));
  EXPECT_EQ(file.header.width, 255);
  EXPECT_EQ(file.header.height, 255);
}

TEST_F(Outcomes, EachRunOnOneTranscoderMakesAFreshFile) {
  const std::string out = dir.File("again.kdx");
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  RunMessages run;
  ASSERT_EQ(ConvertFile(MediaPath("clip_mpeg4_mp3.avi"), out, request, queue, &run), S_OK);
  const std::string first = ReadFile(out);
  ScratchDir kept;
  fs::copy_file(out, kept.File("first.kdx"));
  // Run again, once alike and once with a sound that cannot be made (the
  // file then starts with the header): neither may build on the first file.
  ASSERT_EQ(Transcode(&request), 1);
  run = CollectRun(queue);
  EXPECT_EQ(run.errorCount, 0);
  EXPECT_EQ(ReadFile(out), first);
  request.nChannels = 0;
  ASSERT_EQ(Transcode(&request), 1);
  run = CollectRun(queue);
  EXPECT_EQ(run.errorCount, 0);
  EXPECT_EQ(dir.Listing(), "again.kdx\n");
  // The reader has an image-library session of its own: only after the close.
  CloseTranscoder();
  const kdxreader::KdxFile withSound = LoadValid(kept.File("first.kdx"));
  ASSERT_TRUE(withSound.sound.present);
  const kdxreader::KdxFile soundless = LoadValid(out);
  EXPECT_FALSE(soundless.sound.present);
  EXPECT_EQ(soundless.chunks.size(), withSound.chunks.size());
}

TEST_F(Outcomes, RunStartedOnTheFinalMessageIsAccepted) {
  // The caller reacts to the final message at once; the library must be idle
  // by then. Short runs, many times, so a late switch to idle shows.
  int64_t duration = 0;
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath("tiny_64x48.mp4").c_str(), dir.File("t.kdx").c_str(), &duration),
            S_OK);
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 64, 64, true);
  request.rtStop = 2000000;
  ASSERT_EQ(Transcode(&request), 1);
  constexpr int kRuns = 30;
  int accepted = 0;
  for (; accepted < kRuns; ++accepted) {
    WindowMessage m;
    while (queue.Get(m, std::chrono::seconds(30))) {
      if (m.message == WM_TRANSCODE_PROGRESS && m.lParam != 0) DeleteObject(reinterpret_cast<HBITMAP>(m.lParam));
      if (m.message == WM_TRANSCODE_PROGRESS && m.wParam == 100) break;
    }
    if (Transcode(&request) != 1) break;
  }
  EXPECT_EQ(accepted, kRuns);
}

TEST_F(Outcomes, PreviewTranscoderRefusesToConvert) {
  int64_t duration = 0;
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath("clip_mpeg4_mp3.avi").c_str(), "", &duration), S_OK);
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  ASSERT_EQ(Transcode(&request), 1);
  RunMessages run = CollectRun(queue);
  EXPECT_EQ(run.errorCount, 1);
  EXPECT_EQ(run.errorCode, 0u);
  EXPECT_EQ(run.errorResult, E_FAIL);
  EXPECT_TRUE(run.errorBeforeFinal);
  EXPECT_EQ(run.finalCount, 1);
}

TEST_F(Outcomes, PreviewShowsThePictureUpright) {
  int64_t duration = 0;
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath("turned_corner_marker.mp4").c_str(), "", &duration), S_OK);
  HBITMAP bitmap = Preview(0, nullptr, SIZE{60, 80}, 0, 0);
  ASSERT_NE(bitmap, nullptr);
  int32_t width = 0, height = 0;
  ASSERT_TRUE(GetBitmapSize(bitmap, &width, &height));
  ASSERT_EQ(width, 60);
  ASSERT_EQ(height, 80);
  // Top-down BGR: the red marker sits at the top right.
  const uint8_t* pixels = GetBitmapPixels(bitmap);
  const uint8_t* topRight = pixels + (static_cast<size_t>(2) * width + width - 3) * 3;
  const uint8_t* topLeft = pixels + (static_cast<size_t>(2) * width + 2) * 3;
  EXPECT_GT(topRight[2], 150);
  EXPECT_LT(topLeft[2], 80);
  DeleteObject(bitmap);
}

TEST_F(Outcomes, RunsThatMakeNoFileLeaveTheOlderOneAsItWas) {
  struct Case {
    const char* what;
    const char* clip;
    int videoKBps;
    WPARAM code;
  } cases[] = {
      // 1 KiB/s leaves less than a hundred bytes for each chunk.
      {"no chunk fits", "clip_h264_aac.mp4", 1, KDX_ERROR_NO_QUALITY_FITS},
      {"no picture decodes", "no_media_data.mp4", 35, KDX_ERROR_NO_PICTURE},
  };
  const std::string older = dir.File("older.kdx");
  { std::FILE* f = std::fopen(older.c_str(), "w"); std::fputs("old", f); std::fclose(f); }
  for (const Case& c : cases) {
    TRANSCODER_PARAM request = MakeRequest(queue.window(), 176, 220, false, 30, c.videoKBps);
    RunMessages run;
    ASSERT_EQ(ConvertFile(MediaPath(c.clip), older, request, queue, &run), S_OK) << c.what;
    EXPECT_EQ(run.errorCode, c.code) << c.what;
    EXPECT_EQ(run.errorResult, 0) << c.what;
    EXPECT_EQ(run.finalCount, 1) << c.what;
    EXPECT_EQ(ReadFile(older), "old") << c.what;
    EXPECT_EQ(dir.Listing(), "older.kdx\n") << c.what;
  }
}

TEST_F(Outcomes, RunsLastWhatTheStreamsHoldAndWhatTheFileCanHold) {
  struct Case {
    const char* what;
    const char* clip;
    WPARAM code;          // 0: converts
    double playsSeconds;  // of the file made
  } cases[] = {
      {"a header claiming an hour of 3 s", "claims_an_hour.avi", 0, 3.0},
      {"a header stating no length", "asf_no_length.wmv", 0, 3.0},
      {"a time base spreading 3 s over 27 days", "damaged_time_base.avi", KDX_ERROR_SOUND_TOO_LARGE, 0},
      {"a header claiming more frames than a KDX file counts", "claims_30m_frames.avi", KDX_ERROR_TOO_MANY_FRAMES, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string out = dir.File("out.kdx");
    int64_t duration = 0;
    ASSERT_EQ(NewTranscoder(queue.window(), MediaPath(c.clip).c_str(), out.c_str(), &duration), S_OK);
    // The whole file, as long as it claims to be.
    TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
    request.rtStop = duration;
    ASSERT_EQ(Transcode(&request), 1);
    const RunMessages run = CollectRun(queue, std::chrono::seconds(60));
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.errorCode, c.code);
    CloseTranscoder();
    if (c.code != 0) {
      EXPECT_EQ(dir.Listing(), "") << "refused before a byte was written";
      continue;
    }
    EXPECT_NEAR(LoadValid(out).playingSeconds, c.playsSeconds, 0.4);
    fs::remove(out);
  }
}

TEST_F(Outcomes, FailedFileStepsTellTheSystemsReasonAndLeaveNothing) {
  // A file stands where the destination's folder should be.
  const std::string blocker = dir.File("not_a_folder");
  { std::FILE* f = std::fopen(blocker.c_str(), "w"); std::fclose(f); }
  struct Case {
    std::string destination;
    int reason;
  } cases[] = {{blocker + "/x.kdx", ENOTDIR},
               {dir.File("missing/x.kdx"), ENOENT},
               // Refused before converting, not by the final rename.
               {dir.File(std::string(300, 'n') + ".kdx"), ENAMETOOLONG}};
  for (const Case& c : cases) {
    RunMessages run;
    TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
    ASSERT_EQ(ConvertFile(MediaPath("clip_mpeg4_mp3.avi"), c.destination, request, queue, &run), S_OK);
    EXPECT_EQ(run.errorCount, 1);
    EXPECT_EQ(run.errorResult, E_FAIL);
    EXPECT_EQ(run.errorReason, c.reason) << c.destination;
    EXPECT_EQ(run.highestPercent, 0) << c.destination;
    EXPECT_EQ(run.finalCount, 1);
    EXPECT_EQ(dir.Listing(), "not_a_folder\n");
  }
}

}  // namespace
}  // namespace kdxtest
