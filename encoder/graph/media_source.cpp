// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/media_source.h"

#include "graph/timeline_joiner.h"

#include <sys/stat.h>

#include <algorithm>
#include <string_view>
#include <vector>

extern "C" {
#include <libavutil/cpu.h>
}

namespace kdx {

namespace {

constexpr AVRational kHundredNanoseconds{1, 10000000};

// libavcodec's frame threads hand pictures over through atomics that a
// ThreadSanitizer build cannot see (the library is not instrumented), so
// such a build decodes on the streaming thread alone to keep its reports
// about this program's own code.
//
// Small pictures (up to CIF, 352x288) also decode on the streaming thread
// alone: there each picture decodes in so little time that handing it
// between frame threads (copying the decoder's state, waking threads)
// costs a fifth more processor time than the decoding saves, a 320x240
// MPEG-4 clip taking 0.8x the processor time and 1.35x the wall time
// single-threaded.
//
// Otherwise the decoder gets one frame thread per core and two more. A
// frame thread spends part of its time waiting for the rows its picture
// refers to, and the video callback runs on the thread that feeds the
// decoder in short bursts (a chunk's JPEG search): with two pictures more in
// flight than cores the cores stay busy through both. On two cores that
// takes a 640x480 H.264 clip from 1.80 s to 1.68 s (one more thread still
// gains little, and each costs about three pictures of memory).
constexpr int64_t kMostSingleThreadPixels = 352 * 288;

int VideoDecoderThreads(const AVCodecParameters& picture) {
#if defined(__SANITIZE_THREAD__)
  return 1;
#else
  if (static_cast<int64_t>(picture.width) * picture.height <= kMostSingleThreadPixels) return 1;
  constexpr int kMostThreads = 16;
  return std::clamp(av_cpu_count() + 2, 1, kMostThreads);
#endif
}

bool IsCoverArt(const AVStream& stream) {
  return (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

// FFmpeg reads a photo through one of its picture demuxers ("image2" by
// the name's extension, "png_pipe", "jpeg_pipe", ... by the content): one
// still picture, no video.
bool IsPhoto(const AVFormatContext& format) {
  const std::string_view name = format.iformat->name;
  return name == "image2" || name == "image2pipe" || name.ends_with("_pipe");
}

// The stream FFmpeg would pick first, then the others of the same kind. A
// related stream (-1: none) makes the pick one of its own program: the
// sound of the channel whose picture is shown, in a recording of several.
std::vector<int> CandidateStreams(AVFormatContext* format, AVMediaType type, int related) {
  std::vector<int> candidates;
  const int best = av_find_best_stream(format, type, -1, related, nullptr, 0);
  if (best >= 0) candidates.push_back(best);
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    if (static_cast<int>(i) != best && format->streams[i]->codecpar->codec_type == type)
      candidates.push_back(static_cast<int>(i));
  }
  return candidates;
}

CodecContextPtr OpenDecoder(const AVStream& stream) {
  const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
  if (!codec) return nullptr;
  CodecContextPtr decoder(avcodec_alloc_context3(codec));
  if (!decoder || avcodec_parameters_to_context(decoder.get(), stream.codecpar) < 0) return nullptr;
  decoder->pkt_timebase = stream.time_base;
  if (stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
    decoder->thread_count = VideoDecoderThreads(*stream.codecpar);
    decoder->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  }
  if (avcodec_open2(decoder.get(), codec, nullptr) < 0) return nullptr;
  const bool usable = stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO
                          ? decoder->width > 0 && decoder->height > 0
                          : decoder->sample_rate > 0 && decoder->ch_layout.nb_channels > 0;
  return usable ? std::move(decoder) : nullptr;
}

}  // namespace

int MediaSource::IsInterrupted(void* source) {
  return static_cast<MediaSource*>(source)->interrupted_ ? 1 : 0;
}

FormatContextPtr MediaSource::OpenFormat() {
  // Only a regular file is a source: opening a pipe without a writer
  // blocks for good, and a device never ends.
  struct stat info {};
  if (stat(path_.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  AVFormatContext* format = avformat_alloc_context();
  if (!format) return nullptr;
  format->interrupt_callback = {&MediaSource::IsInterrupted, this};
  // avformat_open_input frees the context when it fails.
  if (avformat_open_input(&format, path_.c_str(), nullptr, nullptr) < 0) return nullptr;
  FormatContextPtr opened(format);
  if (avformat_find_stream_info(format, nullptr) < 0) return nullptr;
  return opened;
}

bool MediaSource::Open(const std::string& path) {
  path_ = path;
  format_ = OpenFormat();
  if (!format_) return false;
  duration_ = LongestDuration();
  startTime_ = format_->start_time != AV_NOPTS_VALUE ? format_->start_time : 0;
  if (LooksJoined()) {
    joined_ = true;
    duration_ = std::max(duration_, JoinedDuration());
  }
  // A damaged header may state no length at all; the packets still tell it.
  if (duration_ <= 0) duration_ = JoinedDuration();
  return true;
}

bool MediaSource::Reopen() {
  FormatContextPtr format = OpenFormat();
  if (!format) return false;
  for (const DecodedStream* opened : {&video_, &audio_}) {
    if (!opened->stream) continue;
    const unsigned index = opened->stream->index;
    if (index >= format->nb_streams ||
        format->streams[index]->codecpar->codec_id != opened->stream->codecpar->codec_id)
      return false;
  }
  for (DecodedStream* opened : {&video_, &audio_}) {
    if (opened->stream) opened->stream = format->streams[opened->stream->index];
  }
  format_ = std::move(format);
  DiscardUnusedStreams();
  return true;
}

bool MediaSource::IsStreamOfKind(const AVStream& stream, AVMediaType type) const {
  if (stream.codecpar->codec_type != type) return false;
  return type != AVMEDIA_TYPE_VIDEO || (!IsCoverArt(stream) && !IsPhoto(*format_));
}

bool MediaSource::HoldsStream(AVMediaType type) const {
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    if (IsStreamOfKind(*format_->streams[i], type)) return true;
  }
  return false;
}

bool MediaSource::OpenStream(AVMediaType type, DecodedStream* opened, const DecodedStream* related) {
  const int relatedIndex = related != nullptr && related->stream != nullptr ? related->stream->index : -1;
  for (const int index : CandidateStreams(format_.get(), type, relatedIndex)) {
    AVStream* stream = format_->streams[index];
    if (!IsStreamOfKind(*stream, type)) continue;
    if (CodecContextPtr decoder = OpenDecoder(*stream)) {
      opened->stream = stream;
      opened->decoder = std::move(decoder);
      return true;
    }
  }
  return false;
}

void MediaSource::DiscardUnusedStreams() {
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    AVStream* stream = format_->streams[i];
    if (stream != video_.stream && stream != audio_.stream) stream->discard = AVDISCARD_ALL;
  }
}

int64_t MediaSource::LongestDuration() const {
  if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
    return av_rescale_q(format_->duration, AV_TIME_BASE_Q, kHundredNanoseconds);
  int64_t longest = 0;
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    const AVStream* stream = format_->streams[i];
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
      longest = std::max(longest, av_rescale_q(stream->duration, stream->time_base, kHundredNanoseconds));
  }
  return longest;
}

bool MediaSource::LooksJoined() {
  if ((format_->iformat->flags & AVFMT_TS_DISCONT) == 0 || !format_->pb) return false;
  const int64_t size = avio_size(format_->pb);
  if (size <= 0) return false;
  // Sixteen looks cost a few packets each: far less than reading through.
  constexpr int kLooks = 16;
  constexpr int kPacketsPerLook = 200;
  constexpr int64_t kLongestStepBack = AV_TIME_BASE / 2;
  // One stream's times: sound and pictures interleave loosely.
  int watched = av_find_best_stream(format_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (watched < 0) watched = av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  PacketPtr packet(av_packet_alloc());
  if (watched < 0 || !packet) return false;
  const AVRational timeBase = format_->streams[watched]->time_base;
  atBeginning_ = false;
  int64_t previous = AV_NOPTS_VALUE;
  for (int look = 0; look < kLooks; ++look) {
    if (av_seek_frame(format_.get(), -1, size * look / kLooks, AVSEEK_FLAG_BYTE) < 0) break;
    int64_t first = AV_NOPTS_VALUE;
    for (int i = 0; i < kPacketsPerLook && first == AV_NOPTS_VALUE && av_read_frame(format_.get(), packet.get()) >= 0;
         ++i) {
      if (packet->stream_index == watched && packet->dts != AV_NOPTS_VALUE)
        first = av_rescale_q(packet->dts, timeBase, AV_TIME_BASE_Q);
      av_packet_unref(packet.get());
    }
    if (first == AV_NOPTS_VALUE) continue;
    if (previous != AV_NOPTS_VALUE && first < previous - kLongestStepBack) return true;
    previous = first;
  }
  return false;
}

int64_t MediaSource::JoinedDuration() {
  atBeginning_ = false;
  if (av_seek_frame(format_.get(), -1, 0, AVSEEK_FLAG_BYTE) < 0) return 0;
  TimelineJoiner joiner(*format_);
  PacketPtr packet(av_packet_alloc());
  while (packet && av_read_frame(format_.get(), packet.get()) >= 0) {
    const AVMediaType type = format_->streams[packet->stream_index]->codecpar->codec_type;
    if (type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO) joiner.Adjust(*packet);
    av_packet_unref(packet.get());
  }
  if (joiner.End() == AV_NOPTS_VALUE) return 0;
  return av_rescale_q(joiner.End() - startTime_, AV_TIME_BASE_Q, kHundredNanoseconds);
}

bool MediaSource::Duration(int64_t* duration) const {
  if (duration_ <= 0) return false;
  *duration = duration_;
  return true;
}

bool MediaSource::SeekTo(int64_t target) {
  return avformat_seek_file(format_.get(), -1, INT64_MIN, target, target, 0) >= 0 ||
         av_seek_frame(format_.get(), -1, target, AVSEEK_FLAG_BACKWARD) >= 0;
}

int64_t MediaSource::FirstKeyPictureTime() {
  constexpr int kPacketsToLookAt = 2000;
  PacketPtr packet(av_packet_alloc());
  if (!packet) return AV_NOPTS_VALUE;
  for (int i = 0; i < kPacketsToLookAt && av_read_frame(format_.get(), packet.get()) >= 0; ++i) {
    const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    const bool keyPicture = packet->stream_index == video_.stream->index && (packet->flags & AV_PKT_FLAG_KEY);
    const AVRational timeBase = video_.stream->time_base;
    av_packet_unref(packet.get());
    if (keyPicture && stamp != AV_NOPTS_VALUE) return av_rescale_q(stamp, timeBase, AV_TIME_BASE_Q);
  }
  return AV_NOPTS_VALUE;
}

void MediaSource::Seek(int64_t position) {
  if (joined_) {
    // Read from the start; what lies before the position reaches the
    // callbacks with its own times, and they leave it out.
    if (!atBeginning_ && !Reopen()) SeekTo(startTime_);
    atBeginning_ = false;
    RenewDecoders();
    return;
  }
  const int64_t target =
      startTime_ + av_rescale_q(std::max<int64_t>(position, 0), kHundredNanoseconds, AV_TIME_BASE_Q);
  // Containers without an index (MPEG program streams) land on any packet
  // before the target, and decoding then begins only at the next key
  // picture, which may lie well after it. Step back until the first key
  // picture is no later than the target.
  int64_t from = target;
  for (int64_t stepBack = AV_TIME_BASE / 2; from > startTime_; stepBack *= 2) {
    SeekTo(from);
    atBeginning_ = false;
    const int64_t keyTime = FirstKeyPictureTime();
    if (keyTime != AV_NOPTS_VALUE && keyTime <= target) break;
    from = target - stepBack;
  }
  // Demuxers differ in how they seek to their very first packet: some skip
  // a sound encoder's priming packet, some land inside a picture. A freshly
  // opened file stands exactly there.
  if (from > startTime_)
    SeekTo(from);
  else if (!atBeginning_ && !Reopen())
    SeekTo(startTime_);
  atBeginning_ = false;
  // Decoders opened with the file and not used since are as new.
  if (!decodersFresh_) RenewDecoders();
  decodersFresh_ = false;
}

void MediaSource::RenewDecoders() {
  // Flushing is not enough: some decoders (AAC among them) keep state from
  // what they decoded before, and a pass would then depend on how far an
  // earlier, interrupted pass got.
  for (DecodedStream* opened : {&video_, &audio_}) {
    if (!opened->decoder) continue;
    if (CodecContextPtr fresh = OpenDecoder(*opened->stream))
      opened->decoder = std::move(fresh);
    else
      avcodec_flush_buffers(opened->decoder.get());
  }
}

}  // namespace kdx
