// SPDX-License-Identifier: GPL-2.0-or-later
// The one transcoder of the library: the decoding graph of one source and
// the destination it converts to (empty for a preview transcoder).
#pragma once

#include <optional>
#include <string>

#include "graph/decoding_graph.h"
#include "video/preview_grabber_cb.h"
#include "writer/file_identity.h"

namespace kdx {

class CTranscoder {
 public:
  // Notes what the destination holds now and builds the graph; the outcome
  // is BuildResult(). The object exists (and must be closed) either way.
  // Nothing at the destination is touched. With KDX_OPEN_ADD_SILENCE in
  // flags a conversion takes a source without a sound track.
  CTranscoder(const std::string& sourcePath, const std::string& destinationPath, uint32_t flags = 0);
  ~CTranscoder();
  CTranscoder(const CTranscoder&) = delete;
  CTranscoder& operator=(const CTranscoder&) = delete;

  HRESULT BuildResult() const { return buildResult_; }
  // KDX_REASON_* of a build that found no audio or video path.
  int32_t MissingPathReason() const { return graph_.MissingPathReason(); }
  bool IsPreview() const { return destination_.empty(); }
  const std::string& Destination() const { return destination_; }
  // The file at the destination when the transcoder was opened (a link as
  // itself): the one file a run may replace. None when nothing was there.
  const std::optional<FileIdentity>& AgreedFile() const { return agreedFile_; }
  // A run's finished file is the next run's to replace.
  void SetAgreedFile(const std::optional<FileIdentity>& file) { agreedFile_ = file; }
  DecodingGraph& Graph() { return graph_; }
  CPreviewGrabberCB& PreviewCallback() { return preview_; }
  // Duration in 100-ns units, 0 when unknown.
  int64_t Duration() const;

 private:
  std::string destination_;
  std::optional<FileIdentity> agreedFile_;
  CPreviewGrabberCB preview_;
  DecodingGraph graph_;  // after preview_: its threads may call into it
  HRESULT buildResult_ = E_FAIL;
};

}  // namespace kdx
