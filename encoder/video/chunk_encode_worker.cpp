// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/chunk_encode_worker.h"

#include <cstring>
#include <utility>

#include "library_state.h"
#include "writer/chunk_record.h"

namespace kdx {

ChunkEncodeWorker::~ChunkEncodeWorker() { Finish(); }

void ChunkEncodeWorker::NewPass() { quality_ = JpegQualityState{}; }

void ChunkEncodeWorker::Hand(const ImageView& chunk, BinaryFile& video, int32_t S) {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !hasWaiting_; });
  }
  // The waiting chunk is the feeder's until it is marked as waiting; its
  // buffer keeps its capacity from chunk to chunk.
  const size_t bytes = chunk.Empty() ? 0 : chunk.Bytes();
  waiting_.pixels.resize(bytes);
  if (bytes > 0) std::memcpy(waiting_.pixels.data(), chunk.data, bytes);
  waiting_.width = chunk.Empty() ? 0 : chunk.width;
  waiting_.height = chunk.Empty() ? 0 : chunk.height;
  waiting_.bottomUp = chunk.bottomUp;
  waiting_.video = &video;
  waiting_.S = S;
  {
    std::lock_guard lock(mutex_);
    hasWaiting_ = true;
  }
  changed_.notify_all();
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void ChunkEncodeWorker::Finish() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  changed_.notify_all();
  thread_.join();
  finishing_ = false;
}

void ChunkEncodeWorker::Run() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return hasWaiting_ || finishing_; });
      if (!hasWaiting_) return;
      std::swap(current_, waiting_);
      hasWaiting_ = false;
    }
    changed_.notify_all();
    // A stopped run's file is thrown away: its remaining chunks are not
    // worth encoding, and a cancel returns sooner.
    if (IsBusy()) Encode(current_);
  }
}

void ChunkEncodeWorker::Encode(Chunk& chunk) {
  const ImageView picture{chunk.pixels.empty() ? nullptr : chunk.pixels.data(), chunk.width, chunk.height,
                          chunk.bottomUp, 0};
  encoder_.NewPicture(picture);
  const JpegQualityChoice choice =
      SearchJpegQuality(quality_, chunk.S - 3, [this](int32_t q) { return encoder_.Measure(q); });
  if (!choice.fits) {
    PostToCaller(WM_TRANSCODE_ERROR, 1, 0);
    RequestStop();
  }
  // The record gets the bytes already encoded at the chosen quality; the
  // filler comes from the chunk picture's own pixels.
  const std::vector<uint8_t>& jpeg = encoder_.Bytes(choice.quality);
  AppendChunkRecord(*chunk.video, jpeg.data(), jpeg.size(), chunk.S, chunk.pixels.data(), chunk.pixels.size());
}

}  // namespace kdx
