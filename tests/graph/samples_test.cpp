// SPDX-License-Identifier: GPL-2.0-or-later
// What the samples hold: pictures as bottom-up BGR24 identical to what the
// ffmpeg tool decodes, sound as interleaved 16-bit PCM at the source's rate.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

#include "graph/decoding_graph.h"
#include "tests/graph/sample_recorder.h"
#include "tests/support/test_paths.h"

namespace {

using kdx::DecodingGraph;
using kdxtest::MediaPath;
using kdxtest::SampleRecorder;
using Mode = DecodingGraph::Mode;

constexpr int64_t kSecond = 10000000;

// Frame number `index` of the clip as the ffmpeg tool decodes it, passed
// through `filter`: top-down BGR24 rows.
std::vector<uint8_t> ReferenceFrame(const std::string& clip, int index, const std::string& filter = "null") {
  kdxtest::ScratchDir scratch;
  const std::string raw = scratch.File("frame.bgr");
  std::string output;
  const int status = kdxtest::RunCommand("ffmpeg -hide_banner -loglevel error -nostdin -y -i '" + MediaPath(clip) +
                                             "' -vf 'select=eq(n\\," + std::to_string(index) +
                                             ")," + filter + "' -frames:v 1 -f rawvideo -pix_fmt bgr24 '" + raw + "'",
                                         &output);
  EXPECT_EQ(status, 0) << output;
  const std::string bytes = kdxtest::ReadFile(raw);
  return {bytes.begin(), bytes.end()};
}

// The graph's picture of delivery `index` from the start of the clip.
std::vector<uint8_t> GraphFrame(const std::string& clip, int index, kdx::VideoFormat* format) {
  DecodingGraph graph;
  SampleRecorder video(index), audio;
  if (graph.Build(MediaPath(clip), Mode::Conversion) != S_OK || !kdxtest::Completes(graph)) return {};
  graph.Stop();
  graph.GetVideoFormat(format);
  graph.SetVideoCallback(&video);
  graph.SetAudioCallback(&audio);
  graph.SetPositions(0, kSecond);
  graph.Run();
  kdxtest::Completes(graph);
  graph.Stop();
  for (const int32_t length : video.lengths()) EXPECT_EQ(length, 3 * format->width * format->height);
  return video.kept();
}

// How far the graph's picture lies from the reference: the mean and the
// largest difference of a colour value. Rows of the sample run bottom-up.
struct FrameDifference {
  double mean = 255;
  int largest = 255;
};
FrameDifference Compare(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& reference,
                        const kdx::VideoFormat& format) {
  const size_t row = 3 * static_cast<size_t>(format.width);
  EXPECT_EQ(picture.size(), row * format.height);
  EXPECT_EQ(reference.size(), picture.size());
  if (picture.size() != row * format.height || reference.size() != picture.size()) return {};
  double total = 0;
  FrameDifference difference{0, 0};
  for (int y = 0; y < format.height; ++y) {
    const uint8_t* ours = picture.data() + y * row;
    const uint8_t* theirs = reference.data() + (format.height - 1 - y) * row;
    for (size_t x = 0; x < row; ++x) {
      total += std::abs(ours[x] - theirs[x]);
      difference.largest = std::max(difference.largest, std::abs(ours[x] - theirs[x]));
    }
  }
  difference.mean = total / picture.size();
  return difference;
}

TEST(DecodingGraphSamples, PicturesAreTheDecodedFramesBottomUpInBgrOrder) {
  for (const char* clip : {"clip_h264_aac.mp4", "odd_321x241.avi", "clip_mpeg2_mp2.mpg"}) {
    SCOPED_TRACE(clip);
    kdx::VideoFormat format;
    const FrameDifference difference = Compare(GraphFrame(clip, 10, &format), ReferenceFrame(clip, 10), format);
    EXPECT_LT(difference.mean, 1.0);
    EXPECT_LE(difference.largest, 8);
  }
}

// Display matrices turn and mirror the picture as the filter shows the
// stored one (the marker in its top-left corner lands elsewhere for every
// other reading of the matrix).
TEST(DecodingGraphSamples, PicturesAreTurnedAndMirroredAsTheirDisplayMatrixSays) {
  const std::pair<const char*, const char*> cases[] = {
      {"corner_marker.mp4", "null"},
      {"turned_corner_marker.mp4", "transpose=clock"},
      {"corner_marker_half.mp4", "hflip,vflip"},
      {"corner_marker_counter.mp4", "transpose=cclock"},
      {"corner_marker_mirror.mp4", "hflip"},
      {"corner_marker_upside-down.mp4", "vflip"},
      {"corner_marker_transpose.mp4", "transpose=cclock_flip"},
      {"corner_marker_antitranspose.mp4", "transpose=clock_flip"},
  };
  for (const auto& [clip, filter] : cases) {
    SCOPED_TRACE(clip);
    kdx::VideoFormat format;
    const std::vector<uint8_t> picture = GraphFrame(clip, 10, &format);
    const FrameDifference difference = Compare(picture, ReferenceFrame("corner_marker.mp4", 10, filter), format);
    EXPECT_LT(difference.mean, 1.0);
    EXPECT_LE(difference.largest, 8);
  }
}

// Collects every sound buffer.
class PcmCollector : public kdx::ISampleGrabberCB {
 public:
  int SampleCB(double, kdx::IMediaSample* sample) override {
    const int16_t* data = reinterpret_cast<const int16_t*>(sample->GetPointer());
    const int32_t length = sample->GetActualDataLength();
    if (length % blockAlign != 0) ++misalignedBuffers;
    if (data) samples.insert(samples.end(), data, data + length / 2);
    return 0;
  }
  int blockAlign = 1;
  int misalignedBuffers = 0;
  std::vector<int16_t> samples;
};

// The whole sound of a clip, interleaved.
PcmCollector WholeSound(const std::string& clip, kdx::AudioFormat* format) {
  DecodingGraph graph;
  PcmCollector sound;
  SampleRecorder video;
  EXPECT_EQ(graph.Build(MediaPath(clip), Mode::Conversion), S_OK);
  EXPECT_TRUE(kdxtest::Completes(graph));
  graph.Stop();
  EXPECT_TRUE(graph.GetAudioFormat(format));
  sound.blockAlign = format->blockAlign;
  graph.SetVideoCallback(&video);
  graph.SetAudioCallback(&sound);
  graph.SetPositions(0, 10 * kSecond);
  graph.Run();
  EXPECT_TRUE(kdxtest::Completes(graph));
  graph.Stop();
  return sound;
}

// The clip's sound as the ffmpeg tool decodes it and passes it through the
// filter, interleaved 16-bit.
std::vector<int16_t> ReferenceSound(const std::string& clip, const std::string& filter) {
  kdxtest::ScratchDir scratch;
  const std::string raw = scratch.File("sound.pcm");
  std::string output;
  const int status = kdxtest::RunCommand("ffmpeg -hide_banner -loglevel error -nostdin -y -i '" + MediaPath(clip) + "' -af '" +
                                             filter + "' -vn -f s16le -acodec pcm_s16le '" + raw + "'",
                                         &output);
  EXPECT_EQ(status, 0) << output;
  const std::string bytes = kdxtest::ReadFile(raw);
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

TEST(DecodingGraphSamples, SoundIsTheDecodedPcmInterleavedAtTheSourceRate) {
  // Surround sound mixed down with the standard matrix at its usual levels
  // (not scaled down to fit full scale).
  const std::string downmix = "aresample=out_chlayout=stereo:rematrix_maxval=1000:out_sample_fmt=flt";
  const std::pair<const char*, std::string> clips[] = {
      {"mono_48k.mp4", "anull"},       {"clip_wmv2_wma2.wmv", "anull"}, {"clip_mpeg4_mp3.avi", "anull"},
      {"six_channels.mp4", downmix}, {"clip_mpeg2_mp2.mpg", "anull"}, {"odd_321x241.avi", "anull"}};
  for (const auto& [clip, filter] : clips) {
    SCOPED_TRACE(clip);
    kdx::AudioFormat format;
    const PcmCollector sound = WholeSound(clip, &format);
    EXPECT_EQ(sound.misalignedBuffers, 0);
    const std::vector<int16_t> reference = ReferenceSound(clip, filter);
    const size_t frames = sound.samples.size() / format.channels;
    EXPECT_NEAR(static_cast<double>(frames) / format.samplesPerSec, 3.0, 0.15);
    EXPECT_NEAR(static_cast<double>(sound.samples.size()), static_cast<double>(reference.size()),
                0.01 * reference.size());

    // Same samples in the same channel order.
    const size_t common = std::min(sound.samples.size(), reference.size());
    double totalDifference = 0;
    for (size_t i = 0; i < common; ++i) totalDifference += std::abs(sound.samples[i] - reference[i]);
    EXPECT_LT(totalDifference / common, 2.0);
  }
}

}  // namespace
