// SPDX-License-Identifier: GPL-2.0-or-later
#include "transcoder.h"

#include "kdx.h"

namespace kdx {

CTranscoder::CTranscoder(const std::string& sourcePath, const std::string& destinationPath, uint32_t flags)
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
    const auto missingSound = (flags & KDX_OPEN_ADD_SILENCE) != 0 ? DecodingGraph::MissingSound::Allow
                                                                   : DecodingGraph::MissingSound::Refuse;
    buildResult_ = graph_.Build(sourcePath, DecodingGraph::Mode::Conversion, missingSound);
  }
}

CTranscoder::~CTranscoder() { graph_.Stop(); }

int64_t CTranscoder::Duration() const {
  int64_t duration = 0;
  return graph_.GetDuration(&duration) ? duration : 0;
}

}  // namespace kdx
