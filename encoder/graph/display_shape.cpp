#include "graph/display_shape.h"

#include <cmath>
#include <cstdlib>

extern "C" {
#include <libavutil/display.h>
}

namespace kdx {

namespace {

// Pixels more than this many times wider or narrower than tall are taken
// for a broken stream, not for a picture to be stretched.
constexpr double kMostStretch = 4.0;

double ClockwiseDegrees(const AVStream& stream) {
  if (const AVDictionaryEntry* tag = av_dict_get(stream.metadata, "rotate", nullptr, 0)) {
    char* end = nullptr;
    const double degrees = std::strtod(tag->value, &end);
    if (end != tag->value && *end == '\0') return degrees;
  }
  const uint8_t* matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
  if (matrix == nullptr) return 0.0;
  // The matrix gives the counter-clockwise angle of the picture as stored.
  const double counterClockwise = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
  return std::isnan(counterClockwise) ? 0.0 : -counterClockwise;
}

}  // namespace

DisplayShape ShapeFor(int codedWidth, int codedHeight, AVRational sampleAspect, double clockwiseDegrees) {
  DisplayShape shape{codedWidth, codedHeight, 0, codedWidth, codedHeight};
  if (sampleAspect.num > 0 && sampleAspect.den > 0) {
    const double stretch = av_q2d(sampleAspect);
    const long width = std::lround(codedWidth * stretch);
    if (stretch <= kMostStretch && stretch >= 1.0 / kMostStretch && width > 0) shape.scaledWidth = static_cast<int>(width);
  }
  if (std::isfinite(clockwiseDegrees)) {
    const double quarters = clockwiseDegrees / 90.0;
    const double nearest = std::round(quarters);
    // A degree off a quarter turn still counts as one.
    if (std::abs(quarters - nearest) * 90.0 < 1.0)
      shape.clockwiseQuarterTurns = (static_cast<int>(std::fmod(nearest, 4.0)) + 4) % 4;
  }
  return shape;
}

DisplayShape ShapeOfStream(AVFormatContext* format, AVStream* stream, const AVCodecContext& decoder) {
  return ShapeFor(decoder.width, decoder.height, av_guess_sample_aspect_ratio(format, stream, nullptr),
                  ClockwiseDegrees(*stream));
}

}  // namespace kdx
