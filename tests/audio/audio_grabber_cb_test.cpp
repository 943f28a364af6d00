#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "audio/audio_grabber_cb.h"
#include "audio/convert_audio.h"
#include "audio/pcm_capture_limit.h"
#include "library_state.h"
#include "test_paths.h"
#include "test_sound_files.h"

namespace {

class BufferSample : public kdx::IMediaSample {
 public:
  explicit BufferSample(std::vector<uint8_t> bytes, bool available = true)
      : bytes_(std::move(bytes)), available_(available) {}
  const uint8_t* GetPointer() override { return available_ ? bytes_.data() : nullptr; }
  int32_t GetActualDataLength() override { return static_cast<int32_t>(bytes_.size()); }

 private:
  std::vector<uint8_t> bytes_;
  bool available_;
};

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AudioGrabber : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file_.Open(dir_.File(".audio"), kdx::BinaryFile::Mode::CreateWrite));
    grabber_.AttachFile(&file_);
    grabber_.SetRange(1.0, 2.0);
    kdx::g_state.store(TS_BUSY);
  }
  void TearDown() override { kdx::g_state.store(TS_IDLE); }

  std::vector<uint8_t> Captured() {
    file_.Close();
    return FileBytes(dir_.File(".audio"));
  }

  kdxtest::ScratchDir dir_;
  kdx::BinaryFile file_;
  kdx::CAudioGrabberCB grabber_;
};

TEST_F(AudioGrabber, AppendsOnlyBuffersWithinTheRangeButTracksEveryTime) {
  BufferSample before({1, 1}), atStart({2, 2, 2}), inside({3}), atStop({4, 4}), after({5, 5, 5, 5});
  grabber_.SampleCB(0.5, &before);
  EXPECT_EQ(grabber_.LastTime(), 0.5);
  grabber_.SampleCB(1.0, &atStart);
  grabber_.SampleCB(1.5, &inside);
  grabber_.SampleCB(2.0, &atStop);
  grabber_.SampleCB(2.5, &after);

  EXPECT_EQ(grabber_.LastTime(), 2.5);
  EXPECT_EQ(grabber_.ByteCount(), 6u);
  EXPECT_EQ(Captured(), (std::vector<uint8_t>{2, 2, 2, 3, 4, 4}));
}

TEST_F(AudioGrabber, IgnoresEverythingUnlessAttachedAndBusy) {
  BufferSample sample({7, 7});
  grabber_.SetLastTime(0.0);
  for (int32_t state : {TS_IDLE, TS_STOP_REQUESTED}) {
    kdx::g_state.store(state);
    grabber_.SampleCB(1.5, &sample);
  }
  kdx::g_state.store(TS_BUSY);
  grabber_.DetachFile();
  grabber_.SampleCB(1.5, &sample);

  EXPECT_EQ(grabber_.LastTime(), 0.0);
  EXPECT_EQ(grabber_.ByteCount(), 0u);
  EXPECT_TRUE(Captured().empty());
}

TEST_F(AudioGrabber, SkipsBuffersWithoutData) {
  BufferSample unavailable({9, 9}, false), empty({});
  grabber_.SampleCB(1.2, &unavailable);
  grabber_.SampleCB(1.4, &empty);
  EXPECT_EQ(grabber_.LastTime(), 1.4);
  EXPECT_EQ(grabber_.ByteCount(), 0u);
  EXPECT_TRUE(Captured().empty());
}

TEST(PcmCaptureLimit, StopsWhereTheWaveHeaderCanNoLongerStateTheSize) {
  EXPECT_EQ(kdx::PcmBytesToAppend(0, 4096), 4096u);
  EXPECT_EQ(kdx::PcmBytesToAppend(kdx::kMaxPcmDataBytes - 100, 4096), 100u);
  EXPECT_EQ(kdx::PcmBytesToAppend(kdx::kMaxPcmDataBytes, 4096), 0u);
  EXPECT_EQ(kdx::PcmBytesToAppend(0, -1), 0u);
  // RIFF size = data + 38 must still fit in 32 bits.
  EXPECT_EQ(uint64_t{kdx::kMaxPcmDataBytes} + 38, uint64_t{UINT32_MAX});
}

// The capture file as the run lays it out: a 46-byte header (format size 18)
// and the PCM bytes behind it.
void WriteCaptureHeader(kdx::BinaryFile& file, int16_t channels, int32_t rate, uint32_t dataBytes) {
  std::vector<uint8_t> h;
  auto text = [&](const char* s) { h.insert(h.end(), s, s + 4); };
  auto number = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) h.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const uint16_t blockAlign = static_cast<uint16_t>(channels * 2);
  text("RIFF"), number(dataBytes + 38, 4), text("WAVE"), text("fmt "), number(18, 4);
  number(1, 2), number(channels, 2), number(rate, 4), number(rate * blockAlign, 4), number(blockAlign, 2);
  number(16, 2), number(0, 2), text("data"), number(dataBytes, 4);
  ASSERT_EQ(h.size(), kdx::kPcmWaveHeaderSize);
  file.Write(h.data(), h.size());
}

TEST_F(AudioGrabber, CapturedSoundConvertsToTheSoundPart) {
  const int rate = 48000;
  const double hz = 500.0;
  grabber_.SetRange(0.0, 10.0);
  WriteCaptureHeader(file_, 2, rate, 0);
  const int bufferFrames = 1024;
  for (int b = 0; b < rate / bufferFrames; ++b) {
    std::vector<uint8_t> bytes(bufferFrames * 4);
    for (int f = 0; f < bufferFrames; ++f) {
      const auto value = static_cast<int16_t>(16000 * audiotest::Sine(hz, rate, b * bufferFrames + f, 1.0));
      std::memcpy(&bytes[f * 4], &value, 2);
      std::memcpy(&bytes[f * 4 + 2], &value, 2);
    }
    BufferSample sample(std::move(bytes));
    grabber_.SampleCB(static_cast<double>(b * bufferFrames) / rate, &sample);
  }
  ASSERT_TRUE(file_.Seek(0));
  WriteCaptureHeader(file_, 2, rate, grabber_.ByteCount());
  ASSERT_TRUE(file_.Close());

  const std::string sound = dir_.File("sound.wav");
  ASSERT_TRUE(kdx::ConvertAudio(dir_.File(".audio"), sound, 22050, 2));
  audiotest::SoundFileContents out;
  ASSERT_TRUE(audiotest::ReadSoundFile(sound, &out));
  ASSERT_EQ(out.info.channels, 2);
  const double seconds = static_cast<double>(grabber_.ByteCount()) / (4.0 * rate);
  EXPECT_NEAR(audiotest::CountZeroCrossings(out.channels[1]), 2 * hz * seconds, 4);
}

}  // namespace
