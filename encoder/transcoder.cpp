#include "transcoder.h"

#include <cstdio>

namespace kdx {

CTranscoder::CTranscoder(const std::string& sourcePath, const std::string& destinationPath)
    : destination_(destinationPath) {
  if (IsPreview()) {
    graph_.SetVideoCallback(&preview_);
    buildResult_ = graph_.Build(sourcePath, DecodingGraph::Mode::Preview);
    VideoFormat format;
    if (SUCCEEDED(buildResult_) && graph_.GetVideoFormat(&format)) preview_.SetFrameSize(format.width, format.height);
  } else {
    // Replacing a file starts by removing the old one, so a failed run
    // never leaves an older file that looks like its result.
    std::remove(destination_.c_str());
    buildResult_ = graph_.Build(sourcePath, DecodingGraph::Mode::Conversion);
  }
}

CTranscoder::~CTranscoder() { graph_.Stop(); }

int64_t CTranscoder::Duration() const {
  int64_t duration = 0;
  return graph_.GetDuration(&duration) ? duration : 0;
}

}  // namespace kdx
