// SPDX-License-Identifier: GPL-2.0-or-later
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

// What the clips below do not show: parameter sets, damage, 2-byte
// lengths, other codecs.
TEST(UnreferencedPictures, AnswerNoForAnythingButUnreferencedSlices) {
  uint8_t record[] = {1, 0x64, 0, 0x1e, 0xfd, 0xe1, 0};  // 2-byte lengths
  struct Case {
    AVCodecID codec;
    int recordSize;
    std::vector<uint8_t> bytes;
    bool unreferenced;
  };
  const Case cases[] = {
      {AV_CODEC_ID_H264, 7, {0, 2, 0x06, 0x05, 0, 2, 0x01, 0x9e, 0, 2, 0x0c, 0xff}, true},
      {AV_CODEC_ID_H264, 7, {0, 2, 0x67, 0x64, 0, 2, 0x01, 0x9e}, false},  // parameter set
      {AV_CODEC_ID_H264, 7, {0, 2, 0x81, 0x9e}, false},                    // forbidden bit
      {AV_CODEC_ID_H264, 7, {0, 9, 0x01, 0x9e}, false},                    // length past the end
      {AV_CODEC_ID_H264, 7, {0, 2, 0x01, 0x9e, 0}, false},                 // cut inside a length
      {AV_CODEC_ID_H264, 7, {0, 2, 0x09, 0xf0}, false},                    // no slice
      {AV_CODEC_ID_H264, 0, {0x01, 0x9e, 0x00, 0x00}, false},              // no start code
      {AV_CODEC_ID_MPEG2VIDEO, 0, {0, 0, 1, 0x01, 0x9e, 0x00}, false},
  };
  for (const Case& c : cases) {
    AVCodecParameters stream{};
    stream.codec_id = c.codec;
    stream.extradata = c.recordSize > 0 ? record : nullptr;
    stream.extradata_size = c.recordSize;
    std::vector<uint8_t> bytes = c.bytes;
    AVPacket packet{};
    packet.data = bytes.data();
    packet.size = static_cast<int>(bytes.size());
    EXPECT_EQ(UnreferencedPictures(stream).OnlyUnreferenced(packet), c.unreferenced) << &c - cases;
  }
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
      for (int y = 0; y < frame->height; ++y)  // a wrong reference shows in the luma
        pictures[frame->pts].append(reinterpret_cast<const char*>(frame->data[0] + y * frame->linesize[0]),
                                    frame->width);
      av_frame_unref(frame.get());
    }
  };
  while (av_read_frame(opened, packet.get()) >= 0) {
    if (packet->stream_index == index &&
        !(decoding == Decoding::LeftOut && unreferenced.OnlyUnreferenced(*packet))) {
      avcodec_send_packet(decoder.get(), packet.get());
      receive();
    }
    av_packet_unref(packet.get());
  }
  avcodec_send_packet(decoder.get(), nullptr);
  receive();
  return pictures;
}

TEST(UnreferencedPictures, AreTheOnesTheDecoderSkipsAndLeavingThemOutChangesNoOtherPicture) {
  for (const char* clip : {"bframes_h264.mp4", "bframes_h264.ts"}) {
    const std::string path = kdxtest::MediaPath(clip);
    const auto all = DecodedPictures(path, Decoding::All);
    const auto skipped = DecodedPictures(path, Decoding::DecoderSkips);
    const auto leftOut = DecodedPictures(path, Decoding::LeftOut);
    ASSERT_EQ(all.size(), 120u) << clip;
    EXPECT_LT(leftOut.size(), 100u) << clip << ": about a third are unreferenced B-frames";
    EXPECT_EQ(leftOut.size(), skipped.size()) << clip;
    for (const auto& [pts, pixels] : leftOut) {
      EXPECT_EQ(skipped.count(pts), 1u) << clip << ": the decoder would not skip the picture at " << pts;
      EXPECT_TRUE(all.count(pts) && all.at(pts) == pixels) << clip << ": the picture at " << pts << " changed";
    }
  }
}

}  // namespace
