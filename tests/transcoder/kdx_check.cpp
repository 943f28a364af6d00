// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/transcoder/kdx_check.h"

#include <gtest/gtest.h>

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

namespace kdxtest {

namespace {

// The library shuts the image library down when it closes a transcoder, so
// the reading here brackets its own use of it.
class ImageLibrarySession {
 public:
  ImageLibrarySession() {
    ilInit();
    iluInit();
  }
  ~ImageLibrarySession() { ilShutDown(); }
};

}  // namespace

kdxreader::KdxFile LoadValid(const std::string& path) {
  ImageLibrarySession session;
  kdxreader::KdxLoadResult loaded = kdxreader::LoadKdx(path);
  if (!loaded.file) {
    ADD_FAILURE() << path << ": " << loaded.error;
    return {};
  }
  return std::move(*loaded.file);
}

kdxreader::KdxFile ConvertCleanly(const std::string& clip, const TRANSCODER_PARAM& request, double* duration) {
  MessageQueue queue;
  ScratchDir dir;
  const std::string out = dir.File("out.kdx");
  int64_t length = 0;
  EXPECT_EQ(NewTranscoder(queue.window(), MediaPath(clip).c_str(), out.c_str(), &length), S_OK) << clip;
  TRANSCODER_PARAM copy = request;
  copy.hWnd = queue.window();
  EXPECT_EQ(Transcode(&copy), 1);
  RunMessages run = CollectRun(queue);
  CloseTranscoder();
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.finalCount, 1);
  EXPECT_EQ(run.errorCount, 0) << std::hex << run.errorResult;
  EXPECT_LE(run.highestPercent, 99);
  EXPECT_EQ(dir.Listing(), "out.kdx\n") << "temporaries left behind";
  if (duration != nullptr) *duration = static_cast<double>(length) / 1e7;
  return LoadValid(out);
}

std::vector<kdxreader::Picture> AllFrames(const kdxreader::KdxFile& file) {
  ImageLibrarySession session;
  std::vector<kdxreader::Picture> frames;
  const auto& g = file.geometry;
  for (size_t chunk = 0; chunk < file.chunks.size() && static_cast<int>(frames.size()) < g.N; ++chunk) {
    auto picture = kdxreader::DecodeChunk(file, chunk);
    if (!picture) {
      ADD_FAILURE() << "chunk " << chunk << " does not decode";
      break;
    }
    for (int slot = 0; slot < g.F && static_cast<int>(frames.size()) < g.N; ++slot) {
      frames.push_back(kdxreader::ExtractFrame(*picture, g, slot));
    }
  }
  return frames;
}

void LinearScaleHook(unsigned int image) {
  ilBindImage(image);
  iluImageParameter(ILU_FILTER, ILU_LINEAR);
}

namespace {

std::vector<double> FrameTimes(const std::string& clip) {
  const std::string command = "ffprobe -v error -select_streams v:0 -show_entries frame=best_effort_timestamp_time "
                              "-of default=nw=1:nk=1 '" + clip + "'";
  std::vector<double> times;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return times;
  double t = 0.0;
  while (std::fscanf(pipe, "%lf", &t) == 1) times.push_back(t);
  pclose(pipe);
  return times;
}

}  // namespace

std::vector<ReferenceFrame> ReferenceFrames(const std::string& clip, const std::string& filter, int width,
                                            int height) {
  std::vector<ReferenceFrame> frames;
  const std::vector<double> times = FrameTimes(clip);
  const std::string command = "ffmpeg -v error -nostdin -i '" + clip + "' -vf '" + filter + ",scale=" +
                              std::to_string(width) + ":" + std::to_string(height) +
                              ":flags=area' -fps_mode passthrough -f rawvideo -pix_fmt rgb24 -";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return frames;
  const size_t bytes = static_cast<size_t>(width) * height * 3;
  std::vector<uint8_t> rgb(bytes);
  while (frames.size() < times.size() && std::fread(rgb.data(), 1, bytes, pipe) == bytes) {
    frames.push_back({times[frames.size()], kdxreader::Picture{width, height, rgb}});
  }
  pclose(pipe);
  return frames;
}

double LumaPsnr(const kdxreader::Picture& a, const kdxreader::Picture& b) {
  if (a.width != b.width || a.height != b.height || a.rgb.empty()) return 0.0;
  double sum = 0.0;
  for (size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
    const double ya = 0.299 * a.rgb[i] + 0.587 * a.rgb[i + 1] + 0.114 * a.rgb[i + 2];
    const double yb = 0.299 * b.rgb[i] + 0.587 * b.rgb[i + 1] + 0.114 * b.rgb[i + 2];
    sum += (ya - yb) * (ya - yb);
  }
  const double mse = sum / static_cast<double>(a.rgb.size() / 3);
  return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace kdxtest
