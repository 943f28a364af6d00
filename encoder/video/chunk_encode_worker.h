// SPDX-License-Identifier: GPL-2.0-or-later
// Encodes finished chunk pictures on a thread of its own, strictly in the
// order they are handed over, so the thread feeding the decoder does not
// wait while a chunk's JPEG quality is searched.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "pixels/image_view.h"
#include "video/jpeg_chunk_encoder.h"
#include "video/jpeg_quality_search.h"
#include "writer/binary_file.h"

namespace kdx {

class ChunkEncodeWorker {
 public:
  ChunkEncodeWorker() = default;
  ~ChunkEncodeWorker();
  ChunkEncodeWorker(const ChunkEncodeWorker&) = delete;
  ChunkEncodeWorker& operator=(const ChunkEncodeWorker&) = delete;

  // Start of a pass: the quality search starts afresh. Only while no chunk
  // is in hand (after Finish).
  void NewPass();
  // Copies the packed chunk picture and queues it for a record of S bytes
  // in video. At most one chunk waits: blocks while the thread is behind.
  // The thread starts with the first chunk after Finish.
  void Hand(const ImageView& chunk, BinaryFile& video, int32_t S);
  // Returns once every chunk handed over is written (once the run is no
  // longer busy, those not yet begun are dropped) and the thread has ended.
  void Finish();

 private:
  struct Chunk {
    std::vector<uint8_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    bool bottomUp = true;
    BinaryFile* video = nullptr;
    int32_t S = 0;
  };

  void Run();
  void Encode(Chunk& chunk);

  std::mutex mutex_;
  std::condition_variable changed_;
  Chunk waiting_;            // the feeder's while !hasWaiting_, the thread's after
  bool hasWaiting_ = false;  // guarded by mutex_
  bool finishing_ = false;   // guarded by mutex_
  std::thread thread_;

  // The thread's own while it runs.
  Chunk current_;
  JpegChunkEncoder encoder_;
  JpegQualityState quality_;
};

}  // namespace kdx
