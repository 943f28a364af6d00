// SPDX-License-Identifier: GPL-2.0-or-later
// Keeps frames at the output rate, turns, crops and scales them, stacks them
// into chunk pictures, writes each chunk at the best JPEG quality that fits
// and reports progress with thumbnails.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "graph/media_sample.h"
#include "writer/binary_file.h"
#include "writer/chunk_geometry.h"

namespace kdx {

class CVideoGrabberCB : public ISampleGrabberCB {
 public:
  CVideoGrabberCB();
  ~CVideoGrabberCB() override;

  int SampleCB(double time, IMediaSample* sample) override;
  bool WillDrop(double time, std::span<const double> earlier) const override;

  // Output size from the delivered frame size and the run's request
  // (g_param): rotation swap, fit or fill, crop size.
  void SetupOutputSize(int32_t frameWidth, int32_t frameHeight);
  void SetRange(double start, double stop);
  void SetFrameInterval(double T);
  // How far before its slot's time a frame may lie and still fill it.
  void SetTimeTolerance(double seconds);
  // Start of a pass: computes the chunk geometry from the output size, T and
  // the request, lays the frame slots from the range's start, and clears
  // times, counters, the last percentage posted and the quality search.
  void Reset();
  void SetLastPercent(int32_t percent);

  // Attach/detach only while the graph is stopped. Detaching waits for
  // the chunks handed to the encoding thread, as EndPass does.
  void AttachFile(BinaryFile* file);
  void DetachFile();
  // With the graph stopped: returns once every chunk of the pass is in the
  // file (or dropped, when the run stopped) and the encoding thread ended.
  void EndPass();

  // After the pass, with the graph stopped: the slots from the last one
  // filled up to `end` (media seconds, to the nearest slot) show the last
  // picture, and the last chunk is written with its slots past the end
  // holding it too, so the pictures cover the range to its end in whole
  // chunks. Nothing when no picture was placed.
  void FinishAt(double end);

  const ChunkGeometry& Geometry() const;
  int32_t FrameCount() const;  // slots filled in this pass, also those holding the last frame
  double LastTime() const;     // read by the run's wait while streaming
  // Time of the last source frame placed in this pass; negative when none.
  double LastPictureTime() const;
  double MeanInputInterval() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kdx
