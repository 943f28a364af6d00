// SPDX-License-Identifier: GPL-2.0-or-later
// The library's exports and the worker thread of a conversion run.
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "audio/audio_grabber_cb.h"
#include "conversion_run.h"
#include "kdx.h"
#include "library_state.h"
#include "platform/base/message_window.h"
#include "request_check.h"
#include "transcoder.h"
#include "video/image_library.h"
#include "video/video_grabber_cb.h"
#include "writer/file_identity.h"

namespace kdx {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(1);
// How long Preview lets the graph deliver the frame it seeks.
constexpr int kPreviewSeekWaitMs = 2000;

// Everything the library owns besides the state word and the request.
struct Library {
  std::unique_ptr<CTranscoder> transcoder;
  CVideoGrabberCB video;
  CAudioGrabberCB audio;
  std::thread worker;

  // Exit routine: ends any run and closes the transcoder on unload.
  ~Library() { Close(); }

  void Close();
};

Library& TheLibrary() {
  static Library library;
  return library;
}

// Asks a running worker to stop and waits until it has finished.
void StopWorker(Library& library) {
  int32_t state = g_state.load();
  while (state != TS_IDLE) {
    if (state == TS_BUSY) g_state.compare_exchange_weak(state, TS_STOP_REQUESTED);
    std::this_thread::sleep_for(kPollInterval);
    state = g_state.load();
  }
  if (library.worker.joinable()) library.worker.join();
}

void Library::Close() {
  StopWorker(*this);
  transcoder.reset();
  if (IsImageLibraryInitialised()) ShutdownImageLibrary();
}

// The destination names the source itself (the same file through a link or
// "..", say): converting would replace the file being read.
bool IsSourceItsDestination(const std::string& source, const std::string& destination) {
  if (destination.empty()) return false;
  const std::optional<FileIdentity> read = IdentityOf(source, true);
  return read && read == IdentityOf(destination, true);
}

void WorkerMain(CTranscoder* transcoder) {
  Library& library = TheLibrary();
  RunConversion(*transcoder, library.video, library.audio);
  // A caller may start the next run as soon as it sees the final message,
  // so the state is idle before it is posted. The window is read first: the
  // next Transcode replaces the request.
  const HWND window = g_param.hWnd;
  g_state.store(TS_IDLE);
  PostMessage(window, WM_TRANSCODE_PROGRESS, 100, 0);
}

}  // namespace
}  // namespace kdx

using namespace kdx;

extern "C" KDX_EXPORT HRESULT NewTranscoder(HWND hWnd, const char* szSource, const char* szDest, int64_t* pDuration) {
  return NewTranscoderEx(hWnd, szSource, szDest, pDuration, 0, nullptr);
}

// The choice to add silence travels with the opening, since the source is
// refused there; a field of the request would come too late and change the
// record older callers fill.
extern "C" KDX_EXPORT HRESULT NewTranscoderEx(HWND hWnd, const char* szSource, const char* szDest, int64_t* pDuration,
                                              uint32_t flags, int32_t* pReason) {
  Library& library = TheLibrary();
  if (pReason != nullptr) *pReason = KDX_REASON_NONE;
  StopWorker(library);
  const std::string source = szSource != nullptr ? szSource : "";
  const std::string destination = szDest != nullptr ? szDest : "";
  CloseTranscoder();
  g_param.hWnd = hWnd;
  if (pDuration != nullptr) *pDuration = 0;
  // Refused before anything is opened; no transcoder is left to run.
  if (IsSourceItsDestination(source, destination)) return E_INVALIDARG;
  library.transcoder = std::make_unique<CTranscoder>(source, destination, flags);
  InitImageLibrary();
  const int64_t duration = library.transcoder->Duration();
  if (pDuration != nullptr) *pDuration = duration;
  const HRESULT built = library.transcoder->BuildResult();
  if (pReason != nullptr) *pReason = library.transcoder->MissingPathReason();
  if (FAILED(built)) return built;
  return duration != 0 ? S_OK : E_FAIL;
}

extern "C" KDX_EXPORT int Transcode(const TRANSCODER_PARAM* pParam) {
  Library& library = TheLibrary();
  // A request the file's header cannot describe is refused.
  if (pParam == nullptr || !IsRequestAcceptable(*pParam)) return 0;
  // A transcoder whose graph could not be built has nothing to run.
  if (!library.transcoder || FAILED(library.transcoder->BuildResult())) return 0;
  int32_t idle = TS_IDLE;
  // Busy before the worker exists: a stop request from now on is always
  // answered by the worker, never left waiting for one that has not begun.
  if (!g_state.compare_exchange_strong(idle, TS_BUSY)) return 0;
  // The previous worker has set the state to idle as its last act.
  if (library.worker.joinable()) library.worker.join();
  g_param = *pParam;
  g_param.nVideoKBps <<= 10;
  // Guards for the values the run divides by.
  if (g_param.nFrameRate < 1) g_param.nFrameRate = 1;
  if (g_param.nThumbStep < 1) g_param.nThumbStep = 1;
  library.worker = std::thread(WorkerMain, library.transcoder.get());
  return 1;
}

extern "C" KDX_EXPORT int StopTranscode(void) {
  // Also when idle: a worker whose run has just ended may still be posting
  // its final message, and the caller may free its window once we return.
  StopWorker(TheLibrary());
  return 1;
}

extern "C" KDX_EXPORT int CloseTranscoder(void) {
  TheLibrary().Close();
  return 1;
}

extern "C" KDX_EXPORT HBITMAP Preview(int64_t rtTime, HDC /*hDC*/, SIZE size, int nRotate, int nFlip) {
  Library& library = TheLibrary();
  if (!library.transcoder || !library.transcoder->IsPreview() || g_state.load() != TS_IDLE) return nullptr;
  if (FAILED(library.transcoder->BuildResult())) return nullptr;
  DecodingGraph& graph = library.transcoder->Graph();
  int64_t duration = 0;
  if (graph.GetDuration(&duration) && duration >= rtTime) {
    const HRESULT sought = graph.SetPositions(rtTime, rtTime + 1);
    if (FAILED(sought)) {
      PostToCaller(WM_TRANSCODE_ERROR, 0, static_cast<LPARAM>(sought));
    } else {
      long event = 0;
      graph.WaitForCompletion(kPreviewSeekWaitMs, &event);
    }
  }
  return library.transcoder->PreviewCallback().MakeBitmap(size, nRotate, nFlip);
}
