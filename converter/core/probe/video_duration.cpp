// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/probe/video_duration.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "converter/core/support/log_file.h"

extern "C" {
#include <libavformat/avformat.h>
}

std::size_t Utf8CharCount(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

namespace {

// A jump forward by more than this within one stream is a restarted clock,
// not a hole in the recording.
constexpr double kLongestGapSeconds = 5.0;

// Closes the demuxer on every way out.
struct FormatContextCloser {
  AVFormatContext* context = nullptr;
  ~FormatContextCloser() { avformat_close_input(&context); }
};

struct PacketFree {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

bool RestartsItsClock(const AVFormatContext* format) {
  return (format->iformat->flags & AVFMT_TS_DISCONT) != 0;
}

double StatedSeconds(const AVFormatContext* format) {
  if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
    return static_cast<double>(format->duration) / AV_TIME_BASE;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream* stream = format->streams[i];
    if (stream->duration == AV_NOPTS_VALUE || stream->duration <= 0 || stream->time_base.den == 0) continue;
    return static_cast<double>(stream->duration) * av_q2d(stream->time_base);
  }
  return 0;
}

// Follows one stream's packet times through the file. Where the clock jumps
// back, or forward by more than a gap, the time line goes on from where it
// stood, as a player of joined recordings shows them.
class TimeLine {
 public:
  explicit TimeLine(bool followJumps) : m_followJumps(followJumps) {}

  void Add(double time, double length) {
    if (!m_started) {
      m_started = true;
      m_offset = -time;
    } else if (m_followJumps && (time < m_last || time > m_last + kLongestGapSeconds)) {
      m_offset = m_end - time;
    }
    m_last = time;
    m_end = std::max(m_end, time + length + m_offset);
  }
  double Seconds() const { return m_end; }

 private:
  bool m_followJumps;
  bool m_started = false;
  double m_last = 0;    // the clock as the file has it
  double m_offset = 0;  // from the file's clock to the time line
  double m_end = 0;     // on the time line
};

double ReadThroughSeconds(AVFormatContext* format) {
  int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (index < 0) return 0;
  const AVRational base = format->streams[index]->time_base;
  if (av_seek_frame(format, -1, format->start_time != AV_NOPTS_VALUE ? format->start_time : 0,
                    AVSEEK_FLAG_BACKWARD) < 0) {
    avformat_seek_file(format, -1, INT64_MIN, 0, INT64_MAX, 0);
  }
  std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
  TimeLine line(RestartsItsClock(format));
  while (av_read_frame(format, packet.get()) >= 0) {
    // Decoding times only rise within one recording; showing times do not.
    const int64_t stamp = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (packet->stream_index == index && stamp != AV_NOPTS_VALUE)
      line.Add(stamp * av_q2d(base), std::max<int64_t>(packet->duration, 0) * av_q2d(base));
    av_packet_unref(packet.get());
  }
  return line.Seconds();
}

}  // namespace

bool ReadVideoDuration(const std::string& path, double* seconds) {
  *seconds = 0;
  struct stat attributes;
  if (path.empty() || stat(path.c_str(), &attributes) != 0) {
    KDX_ERROR_LOG("Video Input File does not exist.  Please specify a valid input video file.");
    return false;
  }
  if (!S_ISREG(attributes.st_mode)) {
    KDX_ERROR_LOG("Video Input File is not a regular file: " + path);
    return false;
  }
  FormatContextCloser format;
  if (avformat_open_input(&format.context, path.c_str(), nullptr, nullptr) < 0) {
    KDX_ERROR_LOG("Failed to put filename");
    return false;
  }
  if (avformat_find_stream_info(format.context, nullptr) < 0) {
    KDX_ERROR_LOG("Failed to get output streams");
    return false;
  }
  double length = StatedSeconds(format.context);
  if (length <= 0 || RestartsItsClock(format.context)) length = std::max(length, ReadThroughSeconds(format.context));
  if (length <= 0) {
    KDX_ERROR_LOG("No stream of " + path + " has a length");
    return false;
  }
  *seconds = length;
  return true;
}
