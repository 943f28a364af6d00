// H.264 packets whose headers show only unreferenced pictures may stay away
// from the decoder: every other picture decodes to the same pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "graph/ffmpeg_handles.h"
#include "graph/unreferenced_picture.h"
#include "tests/support/test_paths.h"

namespace {

using kdx::UnreferencedPictures;

AVCodecParameters H264(std::vector<uint8_t>* extradata) {
  AVCodecParameters stream{};
  stream.codec_id = AV_CODEC_ID_H264;
  stream.extradata = extradata->empty() ? nullptr : extradata->data();
  stream.extradata_size = static_cast<int>(extradata->size());
  return stream;
}

bool Answer(const AVCodecParameters& stream, std::vector<uint8_t> bytes) {
  AVPacket packet{};
  packet.data = bytes.data();
  packet.size = static_cast<int>(bytes.size());
  return UnreferencedPictures(stream).OnlyUnreferenced(packet);
}

TEST(UnreferencedPictures, ReadsTheUnitHeadersOfEachPacket) {
  // A configuration record with 4-byte lengths, one with 2-byte lengths,
  // and none: start codes.
  std::vector<uint8_t> four{1, 0x64, 0, 0x1e, 0xff, 0xe1, 0};
  std::vector<uint8_t> two{1, 0x64, 0, 0x1e, 0xfd, 0xe1, 0};
  std::vector<uint8_t> none;
  const AVCodecParameters prefixed4 = H264(&four), prefixed2 = H264(&two), startCoded = H264(&none);
  struct Case {
    const char* what;
    const AVCodecParameters& stream;
    std::vector<uint8_t> bytes;
    bool unreferenced;
  };
  const Case cases[] = {
      {"unreferenced slice", prefixed4, {0, 0, 0, 2, 0x01, 0x9e}, true},
      {"SEI, then an unreferenced slice", prefixed4, {0, 0, 0, 2, 0x06, 0x05, 0, 0, 0, 2, 0x01, 0x9e}, true},
      {"referenced slice", prefixed4, {0, 0, 0, 2, 0x21, 0x9e}, false},
      {"IDR slice", prefixed4, {0, 0, 0, 2, 0x65, 0x88}, false},
      {"parameter set before the slice", prefixed4, {0, 0, 0, 2, 0x67, 0x64, 0, 0, 0, 2, 0x01, 0x9e}, false},
      {"delimiter only", prefixed4, {0, 0, 0, 2, 0x09, 0xf0}, false},
      {"forbidden bit set", prefixed4, {0, 0, 0, 2, 0x81, 0x9e}, false},
      {"length past the end", prefixed4, {0, 0, 0, 9, 0x01, 0x9e}, false},
      {"cut inside a length", prefixed4, {0, 0, 0, 2, 0x01, 0x9e, 0, 0}, false},
      {"2-byte lengths", prefixed2, {0, 2, 0x01, 0x9e, 0, 2, 0x0c, 0xff}, true},
      {"start codes", startCoded, {0, 0, 0, 1, 0x09, 0xf0, 0, 0, 1, 0x01, 0x9e, 0x00}, true},
      {"start codes, second slice referenced", startCoded, {0, 0, 1, 0x01, 0x9e, 0, 0, 1, 0x41, 0x9e}, false},
      {"no start code at all", startCoded, {0x01, 0x9e, 0x00, 0x00}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Answer(c.stream, c.bytes), c.unreferenced) << c.what;

  AVCodecParameters mpeg2 = startCoded;
  mpeg2.codec_id = AV_CODEC_ID_MPEG2VIDEO;
  EXPECT_FALSE(Answer(mpeg2, {0, 0, 1, 0x01, 0x9e, 0x00})) << "only H.264 is read";
}

// How a clip's pictures are decoded: all, with the decoder skipping the
// unreferenced ones itself, or with the packets named unreferenced left out.
enum class Decoding { All, DecoderSkips, LeftOut };

// The pixels of each picture decoded, by time stamp.
std::map<int64_t, std::string> DecodedPictures(const std::string& path, Decoding decoding) {
  std::map<int64_t, std::string> pictures;
  AVFormatContext* opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) return pictures;
  kdx::FormatContextPtr format(opened);
  avformat_find_stream_info(opened, nullptr);
  const int index = av_find_best_stream(opened, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) return pictures;
  const AVCodecParameters& stream = *opened->streams[index]->codecpar;
  kdx::CodecContextPtr decoder(avcodec_alloc_context3(avcodec_find_decoder(stream.codec_id)));
  avcodec_parameters_to_context(decoder.get(), &stream);
  decoder->thread_count = 3;  // frame threads, as in a conversion
  if (decoding == Decoding::DecoderSkips) decoder->skip_frame = AVDISCARD_NONREF;
  if (avcodec_open2(decoder.get(), decoder->codec, nullptr) < 0) return pictures;
  const UnreferencedPictures unreferenced(stream);
  kdx::PacketPtr packet(av_packet_alloc());
  kdx::FramePtr frame(av_frame_alloc());
  auto receive = [&] {
    while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
      std::string& pixels = pictures[frame->pts];
      for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? frame->height : (frame->height + 1) / 2;
        const int width = plane == 0 ? frame->width : (frame->width + 1) / 2;
        for (int y = 0; y < rows; ++y)
          pixels.append(reinterpret_cast<const char*>(frame->data[plane] + y * frame->linesize[plane]), width);
      }
      av_frame_unref(frame.get());
    }
  };
  while (av_read_frame(opened, packet.get()) >= 0) {
    const bool sent = packet->stream_index == index &&
                      !(decoding == Decoding::LeftOut && unreferenced.OnlyUnreferenced(*packet));
    if (sent) {
      avcodec_send_packet(decoder.get(), packet.get());
      receive();
    }
    av_packet_unref(packet.get());
  }
  avcodec_send_packet(decoder.get(), nullptr);
  receive();
  return pictures;
}

std::vector<int64_t> TimesOf(const std::map<int64_t, std::string>& pictures) {
  std::vector<int64_t> times;
  for (const auto& picture : pictures) times.push_back(picture.first);
  return times;
}

TEST(UnreferencedPictures, AreTheOnesTheDecoderSkipsAndLeavingThemOutChangesNoOtherPicture) {
  for (const char* clip : {"bframes_h264.mp4", "bframes_h264.ts"}) {
    const std::string path = kdxtest::MediaPath(clip);
    const auto all = DecodedPictures(path, Decoding::All);
    const auto skipped = DecodedPictures(path, Decoding::DecoderSkips);
    const auto leftOut = DecodedPictures(path, Decoding::LeftOut);
    ASSERT_EQ(all.size(), 120u) << clip;
    EXPECT_LT(leftOut.size(), 100u) << clip << ": about a third are unreferenced B-frames";
    EXPECT_EQ(TimesOf(leftOut), TimesOf(skipped)) << clip;
    for (const auto& [pts, pixels] : leftOut) {
      const auto same = all.find(pts);
      ASSERT_NE(same, all.end()) << clip << " " << pts;
      EXPECT_TRUE(same->second == pixels) << clip << ": the picture at " << pts << " changed";
    }
  }
}

}  // namespace
