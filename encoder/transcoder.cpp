#include "transcoder.h"

namespace kdx {

CTranscoder::CTranscoder(const std::string& sourcePath, const std::string& destinationPath)
    : destination_(destinationPath) {
  if (IsPreview()) {
    graph_.SetVideoCallback(&preview_);
    buildResult_ = graph_.Build(sourcePath, DecodingGraph::Mode::Preview);
    VideoFormat format;
    if (SUCCEEDED(buildResult_) && graph_.GetVideoFormat(&format)) preview_.SetFrameSize(format.width, format.height);
  } else {
    // The caller asked before opening whether a file there may go; the
    // finished file replaces only this one.
    agreedFile_ = IdentityOf(destination_, false);
    buildResult_ = graph_.Build(sourcePath, DecodingGraph::Mode::Conversion);
  }
}

CTranscoder::~CTranscoder() { graph_.Stop(); }

int64_t CTranscoder::Duration() const {
  int64_t duration = 0;
  return graph_.GetDuration(&duration) ? duration : 0;
}

}  // namespace kdx
