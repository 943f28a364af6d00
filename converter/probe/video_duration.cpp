#include "video_duration.h"

#include <sys/stat.h>

#include "log_file.h"

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

// Closes the demuxer on every way out.
struct FormatContextCloser {
  AVFormatContext* context = nullptr;
  ~FormatContextCloser() { avformat_close_input(&context); }
};

}  // namespace

bool ReadVideoDuration(const std::string& path, double* seconds) {
  *seconds = 0;
  if (Utf8CharCount(path) >= kMaxSourcePathChars) {
    KDX_ERROR_LOG(
        "The Video Input file path exceeds the maximum length allowed by Windows.  Please specify a "
        "different file.");
    return false;
  }
  struct stat attributes;
  if (path.empty() || stat(path.c_str(), &attributes) != 0) {
    KDX_ERROR_LOG("Video Input File does not exist.  Please specify a valid input video file.");
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
  for (unsigned i = 0; i < format.context->nb_streams; ++i) {
    const AVStream* stream = format.context->streams[i];
    if (stream->duration == AV_NOPTS_VALUE || stream->duration <= 0 || stream->time_base.den == 0) continue;
    *seconds = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
    return true;
  }
  return false;
}
