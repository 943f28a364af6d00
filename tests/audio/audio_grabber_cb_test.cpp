// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "audio/audio_grabber_cb.h"
#include "audio/convert_audio.h"
#include "library_state.h"
#include "tests/support/test_paths.h"
#include "tests/support/test_sound_files.h"

namespace {

constexpr int kRate = 8000;

class BufferSample : public kdx::IMediaSample {
 public:
  explicit BufferSample(std::vector<int16_t> samples, bool available = true)
      : samples_(std::move(samples)), available_(available) {}
  const uint8_t* GetPointer() override {
    return available_ ? reinterpret_cast<const uint8_t*>(samples_.data()) : nullptr;
  }
  int32_t GetActualDataLength() override { return static_cast<int32_t>(samples_.size() * 2); }

 private:
  std::vector<int16_t> samples_;
  bool available_;
};

// A stereo buffer of a tone, distinct per buffer index.
std::vector<int16_t> Tone(int index, int frames = 1000) {
  std::vector<int16_t> samples;
  for (int f = 0; f < frames; ++f) {
    const auto value = static_cast<int16_t>(12000 * audiotest::Sine(300.0 + 100 * index, kRate, f, 1.0));
    samples.push_back(value);
    samples.push_back(static_cast<int16_t>(-value));
  }
  return samples;
}

class AudioGrabber : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(converter_.Open(dir_.File("sound.wav"), kRate, 2, 22050, 2));
    grabber_.AttachConverter(&converter_, 2, kRate);
    grabber_.SetRange(1.0, 2.0);
    kdx::g_state.store(TS_BUSY);
  }
  void TearDown() override { kdx::g_state.store(TS_IDLE); }

  // What the same samples give when converted from a PCM file at once.
  std::string ConvertedAtOnce(const std::vector<std::vector<int16_t>>& buffers) {
    std::vector<int16_t> all;
    for (const auto& b : buffers) all.insert(all.end(), b.begin(), b.end());
    const std::string pcm = dir_.File("expected.pcm.wav");
    audiotest::WritePcm16Wave(pcm, kRate, 2, static_cast<long>(all.size() / 2),
                              [&](long frame, int channel) { return all[frame * 2 + channel] / 32768.0; });
    const std::string expected = dir_.File("expected.wav");
    EXPECT_TRUE(kdx::ConvertAudio(pcm, expected, 22050, 2));
    return kdxtest::ReadFile(expected);
  }

  // Finishes the conversion and counts the frames of the sound part.
  sf_count_t FramesConverted() {
    if (!converter_.Finish()) return -1;
    audiotest::SoundFileContents out;
    return audiotest::ReadSoundFile(dir_.File("sound.wav"), &out) ? out.info.frames : -1;
  }

  kdxtest::ScratchDir dir_;
  kdx::SoundConverter converter_;
  kdx::CAudioGrabberCB grabber_;
};

// Stereo silence of the given length.
std::vector<int16_t> Silence(int frames) { return std::vector<int16_t>(static_cast<size_t>(frames) * 2, 0); }

// Buffers of 1000 frames (0.125 s); the range starts at 1.0 s.
TEST_F(AudioGrabber, ConvertsOnlyBuffersWithinTheRangeButTracksEveryTime) {
  BufferSample before(Tone(0)), atStart(Tone(1)), inside(Tone(2)), atStop(Tone(3)), after(Tone(4));
  grabber_.SampleCB(0.5, &before);
  EXPECT_EQ(grabber_.LastTime(), 0.5);
  grabber_.SampleCB(1.0, &atStart);
  grabber_.SampleCB(1.5, &inside);
  grabber_.SampleCB(2.0, &atStop);
  grabber_.SampleCB(2.5, &after);
  EXPECT_EQ(grabber_.LastTime(), 2.5);

  ASSERT_TRUE(converter_.Finish());
  // Each buffer plays at its own time: silence fills between them.
  EXPECT_EQ(kdxtest::ReadFile(dir_.File("sound.wav")),
            ConvertedAtOnce({Tone(1), Silence(3000), Tone(2), Silence(3000), Tone(3)}));
}

TEST_F(AudioGrabber, PlacesSoundByItsTimeFromTheRangesStart) {
  // Straddles the start by 200 frames: those are cut. Then a hole of 1000
  // frames, then a buffer that starts 100 frames over the one before it.
  BufferSample straddling(Tone(1)), afterHole(Tone(2)), overlapping(Tone(3));
  grabber_.SampleCB(1.0 - 200.0 / kRate, &straddling);
  grabber_.SampleCB(1.0 + 1800.0 / kRate, &afterHole);
  grabber_.SampleCB(1.0 + 2700.0 / kRate, &overlapping);
  ASSERT_TRUE(converter_.Finish());

  std::vector<int16_t> cutStart = Tone(1);
  cutStart.erase(cutStart.begin(), cutStart.begin() + 2 * 200);
  std::vector<int16_t> cutOverlap = Tone(3);
  cutOverlap.erase(cutOverlap.begin(), cutOverlap.begin() + 2 * 100);
  EXPECT_EQ(kdxtest::ReadFile(dir_.File("sound.wav")),
            ConvertedAtOnce({cutStart, Silence(1000), Tone(2), cutOverlap}));
}

TEST_F(AudioGrabber, IgnoresEverythingUnlessAttachedAndBusy) {
  BufferSample sample(Tone(1));
  grabber_.SetLastTime(0.0);
  for (int32_t state : {TS_IDLE, TS_STOP_REQUESTED}) {
    kdx::g_state.store(state);
    grabber_.SampleCB(1.5, &sample);
  }
  kdx::g_state.store(TS_BUSY);
  grabber_.DetachConverter();
  grabber_.SampleCB(1.5, &sample);
  EXPECT_EQ(grabber_.LastTime(), 0.0);

  EXPECT_EQ(FramesConverted(), 0);
}

TEST_F(AudioGrabber, SkipsBuffersWithoutData) {
  BufferSample unavailable(Tone(1), false), empty({});
  grabber_.SampleCB(1.2, &unavailable);
  grabber_.SampleCB(1.4, &empty);
  EXPECT_EQ(grabber_.LastTime(), 1.4);
  EXPECT_EQ(FramesConverted(), 0);
}

}  // namespace
