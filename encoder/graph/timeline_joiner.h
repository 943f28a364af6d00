// SPDX-License-Identifier: GPL-2.0-or-later
// Joins the parts of a recording whose time stamps start again: MPEG
// transport and program streams joined end to end (a camcorder's split
// parts, cat a.ts b.ts). A packet whose time lies well before where its
// stream stands, or jumps far ahead of it, moves an offset that every
// stream shares, so the time line goes on from where it stood for pictures
// and sound alike, as the ffmpeg tool does for such formats.
#pragma once

#include <cstdint>
#include <vector>

#include "graph/ffmpeg_handles.h"

namespace kdx {

class TimelineJoiner {
 public:
  // Joins only for formats whose time stamps may be discontinuous; the end
  // is followed for every format.
  explicit TimelineJoiner(const AVFormatContext& format);

  // Moves the packet's times onto the joined time line.
  void Adjust(AVPacket& packet);
  // Where the latest packet seen ends on the joined time line, in
  // AV_TIME_BASE units; AV_NOPTS_VALUE before any timed packet.
  int64_t End() const { return end_; }

 private:
  const AVFormatContext& format_;
  const bool enabled_;
  int64_t offset_ = 0;  // AV_TIME_BASE units
  std::vector<int64_t> next_;  // per stream: where its next packet is due
  int64_t end_ = AV_NOPTS_VALUE;
};

}  // namespace kdx
