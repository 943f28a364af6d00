// SPDX-License-Identifier: GPL-2.0-or-later
// How a video stream is meant to be seen: its pictures scaled to square
// pixels (the display aspect ratio), then turned and mirrored as the
// stream's display matrix says, in quarter turns.
#pragma once

#include <cstdint>

#include "graph/ffmpeg_handles.h"

namespace kdx {

// The stored picture turned clockwise by quarter turns, then, when
// upsideDown, flipped top to bottom: with a half turn that is a left-right
// mirror, with a quarter turn a transpose.
struct DisplayTurn {
  int clockwiseQuarterTurns = 0;  // 0..3
  bool upsideDown = false;
};

struct DisplayShape {
  // The picture at square pixels, before it is turned.
  int scaledWidth = 0;
  int scaledHeight = 0;
  DisplayTurn turn;
  // The stored size this shape was made for; 0 when not known.
  int codedWidth = 0;
  int codedHeight = 0;

  // The frame as it is delivered: upright.
  int Width() const { return turn.clockwiseQuarterTurns % 2 ? scaledHeight : scaledWidth; }
  int Height() const { return turn.clockwiseQuarterTurns % 2 ? scaledWidth : scaledHeight; }
};

// The turn a display matrix (FFmpeg's layout: 16.16 fixed point, a point
// (x, y) of the stored picture shown at (x·m[0] + y·m[3], x·m[1] + y·m[4]))
// describes, mirrors included. A matrix that turns by another angle than a
// quarter turn (a degree off still counts), or holds no picture at all,
// leaves the picture as it is.
DisplayTurn TurnOfMatrix(const int32_t matrix[9]);
// The turn of a clockwise angle in degrees (a "rotate" tag), the same way.
DisplayTurn TurnOfDegrees(double clockwiseDegrees);

// From the coded size and the sample aspect ratio (0/0 or 0/1 when
// unknown). Aspect ratios no player shows leave the picture as it is.
DisplayShape ShapeFor(int codedWidth, int codedHeight, AVRational sampleAspect, DisplayTurn turn);

// The shape of a video stream whose decoder is open: its sample aspect
// ratio, and its display matrix or, failing that, its "rotate" tag.
DisplayShape ShapeOfStream(AVFormatContext* format, AVStream* stream, const AVCodecContext& decoder);

}  // namespace kdx
