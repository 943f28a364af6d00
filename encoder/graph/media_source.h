// SPDX-License-Identifier: GPL-2.0-or-later
// The opened source file: its container, the video and audio streams the
// graph decodes and their decoders.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "graph/ffmpeg_handles.h"

namespace kdx {

struct DecodedStream {
  AVStream* stream = nullptr;  // null when the source has no usable stream
  CodecContextPtr decoder;
};

class MediaSource {
 public:
  MediaSource() = default;
  MediaSource(const MediaSource&) = delete;
  MediaSource& operator=(const MediaSource&) = delete;

  // False when the file cannot be opened or its streams cannot be read.
  bool Open(const std::string& path);
  // Opens the decoder of the best stream of the kind that has one that
  // opens (pictures attached as cover art are no video, nor is a photo);
  // the sound is chosen from the program of the video opened before, if
  // any. False when none.
  bool OpenVideo() { return OpenStream(AVMEDIA_TYPE_VIDEO, &video_, nullptr); }
  bool OpenAudio() { return OpenStream(AVMEDIA_TYPE_AUDIO, &audio_, &video_); }
  // Whether the file holds a stream of the kind at all, one that opens or
  // not: tells a file without sound from one whose sound cannot be decoded.
  bool HoldsStream(AVMediaType type) const;
  // Lets the demuxer skip the streams nobody decodes.
  void DiscardUnusedStreams();

  // Duration in 100-ns units; false when unknown. Read when the file was
  // opened, since the demuxer may update its fields while it streams. For
  // a file of joined parts (timeline_joiner.h) the length of all of them.
  bool Duration(int64_t* duration) const;
  // Where the media starts, in AV_TIME_BASE units: times given to the
  // callbacks count from here.
  int64_t StartTime() const { return startTime_; }
  // Moves the demuxer to the last key frame at or before the position
  // (100-ns units from the start of the media) with decoders that have
  // decoded nothing yet.
  void Seek(int64_t position);
  // Makes blocking reads return at once while set.
  void SetInterrupted(bool interrupted) { interrupted_ = interrupted; }

  AVFormatContext* format() const { return format_.get(); }
  DecodedStream& video() { return video_; }
  DecodedStream& audio() { return audio_; }

 private:
  bool OpenStream(AVMediaType type, DecodedStream* opened, const DecodedStream* related);
  // A stream of the kind that the graph may decode as such.
  bool IsStreamOfKind(const AVStream& stream, AVMediaType type) const;
  int64_t LongestDuration() const;
  // Whether the file holds parts whose time stamps start again, judged by
  // the first picture or sound time at a few places spread over the file.
  bool LooksJoined();
  // The length of the (joined) time line, read through the whole file
  // (100-ns units); 0 when nothing is timed.
  int64_t JoinedDuration();
  bool SeekTo(int64_t target);
  void RenewDecoders();
  // Time of the first key picture the demuxer reads from where it stands
  // (AV_TIME_BASE units), or AV_NOPTS_VALUE when none comes soon.
  int64_t FirstKeyPictureTime();
  static int IsInterrupted(void* source);
  FormatContextPtr OpenFormat();
  // Opens the file again for a pass from the beginning; false (with the
  // old demuxer kept) when it cannot.
  bool Reopen();

  std::string path_;
  FormatContextPtr format_;
  // The demuxer has read nothing since the file was opened.
  bool atBeginning_ = true;
  // The decoders have been given nothing since they were opened.
  bool decodersFresh_ = true;
  DecodedStream video_;
  DecodedStream audio_;
  int64_t duration_ = 0;
  int64_t startTime_ = 0;
  // The time stamps start again within the file: positions are found by
  // reading from its start, since a time names more than one place.
  bool joined_ = false;
  std::atomic<bool> interrupted_{false};
};

}  // namespace kdx
