// How a video stream is meant to be seen: its pictures scaled to square
// pixels (the display aspect ratio) and turned upright as the stream's
// rotation says, in quarter and half turns.
#pragma once

#include "graph/ffmpeg_handles.h"

namespace kdx {

struct DisplayShape {
  // The picture at square pixels, before it is turned.
  int scaledWidth = 0;
  int scaledHeight = 0;
  int clockwiseQuarterTurns = 0;  // 0..3
  // The stored size this shape was made for; 0 when not known.
  int codedWidth = 0;
  int codedHeight = 0;

  // The frame as it is delivered: upright.
  int Width() const { return clockwiseQuarterTurns % 2 ? scaledHeight : scaledWidth; }
  int Height() const { return clockwiseQuarterTurns % 2 ? scaledWidth : scaledHeight; }
};

// From the coded size, the sample aspect ratio (0/0 or 0/1 when unknown)
// and the clockwise rotation in degrees. Turns other than multiples of 90
// degrees, and aspect ratios no player shows, leave the picture as it is.
DisplayShape ShapeFor(int codedWidth, int codedHeight, AVRational sampleAspect, double clockwiseDegrees);

// The shape of a video stream whose decoder is open: its sample aspect
// ratio, and its display matrix or, failing that, its "rotate" tag.
DisplayShape ShapeOfStream(AVFormatContext* format, AVStream* stream, const AVCodecContext& decoder);

}  // namespace kdx
