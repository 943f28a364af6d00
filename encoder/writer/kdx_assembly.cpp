#include "writer/kdx_assembly.h"

#include "kdx.h"
#include "writer/kdx_header.h"
#include "writer/wave_header.h"

namespace kdx {

namespace {
constexpr size_t kCopyBlock = 1000;
}  // namespace

bool FinishPcmWaveFile(BinaryFile& audio, const AudioFormat& format, uint32_t dataBytes) {
  const auto header = BuildPcmWaveHeader(format, dataBytes);
  audio.Seek(0);
  audio.Write(header.data(), header.size());
  // Closing flushes every byte before the sound converter reads the file.
  return audio.Close();
}

bool AppendKdxBody(BinaryFile& output, BinaryFile& video, const ChunkGeometry& geometry, int32_t frameCount,
                   const std::atomic<int32_t>& stateWord) {
  const auto header = BuildKdxHeader(geometry, frameCount);
  if (!output.Write(header.data(), header.size()) || !video.Seek(0)) return false;
  uint8_t block[kCopyBlock];
  for (;;) {
    const size_t n = video.Read(block, sizeof block);
    if (video.Failed() || !output.Write(block, n)) return false;
    if (n < sizeof block) break;
    if (stateWord.load(std::memory_order_acquire) != TS_BUSY) break;
  }
  return true;
}

}  // namespace kdx
