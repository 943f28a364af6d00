// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/display_shape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kdx {

namespace {

// Pixels more than this many times wider or narrower than tall are taken
// for a broken stream, not for a picture to be stretched.
constexpr double kMostStretch = 4.0;
// A degree off a quarter turn still counts as one: sin 1°.
constexpr double kMostSkew = 0.0175;

// A turn as a matrix of whole numbers acting on a point (x, y) of the
// picture, y pointing down: {xx, xy, yx, yy} gives (xx·x + xy·y, yx·x + yy·y).
using Turn = std::array<int, 4>;

Turn Compose(const Turn& after, const Turn& first) {
  return {after[0] * first[0] + after[1] * first[2], after[0] * first[1] + after[1] * first[3],
          after[2] * first[0] + after[3] * first[2], after[2] * first[1] + after[3] * first[3]};
}

// What a turn of the given quarters clockwise, then a flip top to bottom
// when asked, does.
Turn TurnFor(DisplayTurn turn) {
  constexpr Turn kQuarterClockwise{0, -1, 1, 0};
  constexpr Turn kUpsideDown{1, 0, 0, -1};
  Turn result{1, 0, 0, 1};
  for (int i = 0; i < turn.clockwiseQuarterTurns; ++i) result = Compose(kQuarterClockwise, result);
  return turn.upsideDown ? Compose(kUpsideDown, result) : result;
}

// -1, 0 or 1 for a matrix entry against the length of its axis; 2 for an
// entry that is none of them.
int AxisSign(double value, double axisLength) {
  const double share = value / axisLength;
  if (std::abs(share) < kMostSkew) return 0;
  if (std::abs(std::abs(share) - 1.0) < kMostSkew) return share > 0 ? 1 : -1;
  return 2;
}

double ClockwiseDegreesOfTag(const AVStream& stream) {
  if (const AVDictionaryEntry* tag = av_dict_get(stream.metadata, "rotate", nullptr, 0)) {
    char* end = nullptr;
    const double degrees = std::strtod(tag->value, &end);
    if (end != tag->value && *end == '\0') return degrees;
  }
  return 0.0;
}

}  // namespace

DisplayTurn TurnOfMatrix(const int32_t matrix[9]) {
  // Where the picture's x axis and y axis go, scaled alike or not.
  const double xToX = matrix[0], xToY = matrix[1], yToX = matrix[3], yToY = matrix[4];
  const double xLength = std::hypot(xToX, xToY);
  const double yLength = std::hypot(yToX, yToY);
  if (!(xLength > 0.0) || !(yLength > 0.0)) return {};
  const Turn wanted{AxisSign(xToX, xLength), AxisSign(yToX, yLength), AxisSign(xToY, xLength),
                    AxisSign(yToY, yLength)};
  for (const bool upsideDown : {false, true}) {
    for (int quarters = 0; quarters < 4; ++quarters) {
      if (TurnFor({quarters, upsideDown}) == wanted) return {quarters, upsideDown};
    }
  }
  return {};
}

DisplayTurn TurnOfDegrees(double clockwiseDegrees) {
  if (!std::isfinite(clockwiseDegrees)) return {};
  const double quarters = clockwiseDegrees / 90.0;
  const double nearest = std::round(quarters);
  if (std::abs(quarters - nearest) * 90.0 >= 1.0) return {};
  return {(static_cast<int>(std::fmod(nearest, 4.0)) + 4) % 4, false};
}

DisplayShape ShapeFor(int codedWidth, int codedHeight, AVRational sampleAspect, DisplayTurn turn) {
  DisplayShape shape{codedWidth, codedHeight, turn, codedWidth, codedHeight};
  if (sampleAspect.num > 0 && sampleAspect.den > 0) {
    const double stretch = av_q2d(sampleAspect);
    const long width = std::lround(codedWidth * stretch);
    if (stretch <= kMostStretch && stretch >= 1.0 / kMostStretch && width > 0) shape.scaledWidth = static_cast<int>(width);
  }
  return shape;
}

DisplayShape ShapeOfStream(AVFormatContext* format, AVStream* stream, const AVCodecContext& decoder) {
  const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
  const DisplayTurn turn = matrix != nullptr ? TurnOfMatrix(reinterpret_cast<const int32_t*>(matrix))
                                             : TurnOfDegrees(ClockwiseDegreesOfTag(*stream));
  return ShapeFor(decoder.width, decoder.height, av_guess_sample_aspect_ratio(format, stream, nullptr), turn);
}

}  // namespace kdx
