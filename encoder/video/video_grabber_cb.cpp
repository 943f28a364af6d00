// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/video_grabber_cb.h"

#include <IL/il.h>

#include <algorithm>
#include <cstring>

#include "library_state.h"
#include "video/bound_image.h"
#include "video/chunk_encode_worker.h"
#include "video/chunk_picture.h"
#include "video/frame_slots.h"
#include "video/image_library.h"
#include "video/output_size.h"
#include "video/scale_step.h"

namespace kdx {

struct CVideoGrabberCB::Impl {
  int32_t frameWidth = 0;  // as delivered, before turning
  int32_t frameHeight = 0;
  OutputSize size;
  ChunkGeometry geometry;
  double T = 0.0;
  double timeTolerance = 0.0;
  FrameSlots slots;
  double start = 0.0;
  double stop = 0.0;
  BinaryFile* video = nullptr;

  // Read by the run's worker while the streaming thread writes them.
  std::atomic<double> lastTime{0.0};
  std::atomic<double> meanInputInterval{0.0};
  std::atomic<int32_t> frameCount{0};  // slots filled, with source frames or held ones

  int64_t nextSlot = 0;        // the first slot not filled yet
  int64_t chunkInPicture = -1;  // the chunk whose slots the chunk picture holds
  int32_t sourceFrames = 0;    // frames of the source placed in this pass
  double lastPictureTime = -1.0;
  bool pictureHeld = false;    // the work image holds the last frame placed
  int32_t lastPercent = 0;
  bool thumbnailHeld = false;  // the thumbnail image holds a frame of this pass
  bool thumbnailInWork = false;  // the work image holds the thumbnail's frame
  ChunkEncodeWorker chunkEncoder;
  ScaleStep scaleStep;

  bool MakesPictures() const { return video != nullptr && geometry.F > 0 && size.width > 0 && size.height > 0; }
  bool KeepFrame(double t, int64_t slot, IMediaSample* sample);
  bool FramePicture(IMediaSample* sample, SeenPicture& picture) const;
  void EnterSlot(int64_t slot);
  void StartChunkPicture();
  void PrepareFrame(const SeenPicture& picture);
  void PlaceFrame(int32_t slot);
  void FlushChunk();
  int32_t Percent() const;
  void ReportProgress();
};

CVideoGrabberCB::CVideoGrabberCB() : impl_(std::make_unique<Impl>()) {}
CVideoGrabberCB::~CVideoGrabberCB() = default;

int CVideoGrabberCB::SampleCB(double time, IMediaSample* sample) {
  Impl& s = *impl_;
  if (!IsBusy()) return 0;
  if (time < s.start || time > s.stop) {
    s.lastTime.store(time, std::memory_order_relaxed);
    return 0;
  }
  // A frame whose slot is filled already is dropped before its pixels are
  // asked for, so it costs no colour conversion.
  const int64_t slot = s.slots.SlotOf(time);
  if (slot >= s.nextSlot && !s.KeepFrame(time, slot, sample)) return 0;
  s.ReportProgress();
  return 0;
}

// The first slot not filled only grows, to one past the slot of each frame
// taken, and more frames arriving can only take it further; so a frame
// whose slot lies before the one reached after the earlier ones is dropped
// whatever else comes in between. Frames outside the range still move the
// last time, so they are never skipped.
bool CVideoGrabberCB::WillDrop(double time, std::span<const double> earlier) const {
  const Impl& s = *impl_;
  if (time < s.start || time > s.stop) return false;
  int64_t next = s.nextSlot;
  for (const double t : earlier) {
    if (t >= s.start && t <= s.stop) next = std::max(next, s.slots.SlotOf(t) + 1);
  }
  return s.slots.SlotOf(time) < next;
}

// Shows the frame in its slot; the slots the source left without a frame
// before it (a hole in its times, a lower rate, a late start) show the last
// picture, black before the first. False when the frame's pixels cannot be
// had: the frame is then ignored without moving any time.
bool CVideoGrabberCB::Impl::KeepFrame(double t, int64_t slot, IMediaSample* sample) {
  if (MakesPictures()) {
    SeenPicture picture;
    if (!FramePicture(sample, picture)) return false;
    // A long hole may span many chunks: a stop ends the filling.
    for (; nextSlot < slot && IsBusy(); ++nextSlot) {
      EnterSlot(nextSlot);
      if (pictureHeld) PlaceFrame(static_cast<int32_t>(nextSlot % geometry.F));
    }
    if (nextSlot < slot) return true;  // stopped
    EnterSlot(slot);
    // The thumbnail is the last frame kept at a percentage that is a
    // multiple of the step. The work image holds it until the next frame
    // is prepared, so it is copied only when that frame is not one: with
    // the usual step of 1 never.
    const bool thumbnailFrame = Percent() % std::max(1, g_param.nThumbStep) == 0;
    if (!thumbnailFrame && thumbnailInWork) {
      ilBindImage(ThumbnailImage());
      ilCopyImage(WorkImage());
      thumbnailHeld = true;
    }
    PrepareFrame(picture);
    thumbnailInWork = thumbnailFrame;
    PlaceFrame(static_cast<int32_t>(slot % geometry.F));
    pictureHeld = true;
  }
  nextSlot = slot + 1;
  frameCount.store(static_cast<int32_t>(std::min<int64_t>(nextSlot, INT32_MAX)), std::memory_order_relaxed);
  // The mean interval between the source's own frames measures its rate.
  const double last = lastTime.load(std::memory_order_relaxed);
  if (sourceFrames > 0) {
    const double mean = meanInputInterval.load(std::memory_order_relaxed);
    meanInputInterval.store(((t - last) + (sourceFrames - 1) * mean) / sourceFrames, std::memory_order_relaxed);
  }
  ++sourceFrames;
  lastPictureTime = t;
  lastTime.store(t, std::memory_order_relaxed);
  return true;
}

// The chunk picture moves on to the slot's chunk: the one it held is
// written, since its slots are all filled by then.
void CVideoGrabberCB::Impl::EnterSlot(int64_t slot) {
  const int64_t chunk = slot / geometry.F;
  if (chunk == chunkInPicture) return;
  if (chunkInPicture < 0) {
    StartChunkPicture();
  } else {
    FlushChunk();
  }
  chunkInPicture = chunk;
}

// The decoded picture when the sample offers one of the size set up, so
// only the kept part is converted, and at the output size; else the BGR24
// rows.
bool CVideoGrabberCB::Impl::FramePicture(IMediaSample* sample, SeenPicture& picture) const {
  if (const SeenPicture* seen = sample->Seen();
      seen != nullptr && !seen->source.Empty() && seen->view.SeenWidth() == frameWidth &&
      seen->view.SeenHeight() == frameHeight) {
    picture = *seen;
    return true;
  }
  const uint8_t* pixels = sample->GetPointer();
  // Rows are packed, 3 x width bytes each; a shorter buffer is not a frame.
  const int64_t needed = static_cast<int64_t>(frameWidth) * frameHeight * 3;
  if (pixels == nullptr || needed <= 0 || sample->GetActualDataLength() < needed) return false;
  picture = SeenPicture{PictureOfBottomUpBgr(pixels, frameWidth, frameHeight),
                        PictureView{frameWidth, frameHeight, 0, false}};
  return true;
}

void CVideoGrabberCB::Impl::StartChunkPicture() {
  ilBindImage(ChunkImage());
  if (!DefineBoundImage(geometry.W, geometry.F * geometry.P, nullptr)) return;
  // Slots before the first frame show black.
  const ImageView chunk = ViewBoundImage();
  if (!chunk.Empty()) std::memset(chunk.data, 0, chunk.Bytes());
}

// Turning, mirroring, the centred crop and the scale are one step on the
// frame as decoded: only the kept part is converted, at the output size.
void CVideoGrabberCB::Impl::PrepareFrame(const SeenPicture& picture) {
  const unsigned int work = WorkImage();
  ilBindImage(work);
  if (g_param.pfnFrameHook != nullptr) {
    // The hook chooses the scaling filter and may bind other images.
    g_param.pfnFrameHook(work);
    ilBindImage(work);
  }
  const Window crop{(size.sourceWidth - size.cropWidth) / 2, (size.sourceHeight - size.cropHeight) / 2,
                    size.cropWidth, size.cropHeight};
  scaleStep.ScaleIntoBoundImage(SeenPicture{picture.source, picture.view.Then(g_param.nRotate, g_param.nFlip)}, crop,
                                size.width, size.height);
}

void CVideoGrabberCB::Impl::PlaceFrame(int32_t slot) {
  ilBindImage(WorkImage());
  const ImageView frame = ViewBoundImage();
  ilBindImage(ChunkImage());
  PlaceFrameInSlot(frame, ViewBoundImage(), slot, geometry.P);
}

// The chunk is encoded and written on the worker while the next one fills;
// a chunk that fits no quality stops the run from there.
void CVideoGrabberCB::Impl::FlushChunk() {
  ilBindImage(ChunkImage());
  chunkEncoder.Hand(ViewBoundImage(), *video, geometry.S);
}

int32_t CVideoGrabberCB::Impl::Percent() const {
  if (!(stop > start)) return 0;
  const double percent = (lastTime.load(std::memory_order_relaxed) - start) / (stop - start) * 100.0;
  // 100 is posted only by the run's end.
  return static_cast<int32_t>(std::clamp(percent, 0.0, 99.0));
}

void CVideoGrabberCB::Impl::ReportProgress() {
  const int32_t percent = Percent();
  if (percent <= lastPercent) return;
  lastPercent = percent;
  HBITMAP thumbnail = nullptr;
  if (percent % std::max(1, g_param.nThumbStep) == 0 && (thumbnailInWork || thumbnailHeld) &&
      g_param.hWnd != nullptr) {
    ilBindImage(thumbnailInWork ? WorkImage() : ThumbnailImage());
    thumbnail = BitmapFromBoundImage();
  }
  PostToCaller(WM_TRANSCODE_PROGRESS, static_cast<WPARAM>(percent), reinterpret_cast<LPARAM>(thumbnail));
}

void CVideoGrabberCB::SetupOutputSize(int32_t frameWidth, int32_t frameHeight) {
  impl_->frameWidth = frameWidth;
  impl_->frameHeight = frameHeight;
  impl_->size = ComputeOutputSize(frameWidth, frameHeight, g_param.nRotate, g_param.nMaxWidth, g_param.nMaxHeight,
                                  g_param.bFitWhole != 0);
}

void CVideoGrabberCB::SetRange(double start, double stop) {
  impl_->start = start;
  impl_->stop = stop;
}

void CVideoGrabberCB::SetFrameInterval(double T) { impl_->T = T; }
void CVideoGrabberCB::SetTimeTolerance(double seconds) { impl_->timeTolerance = seconds; }

void CVideoGrabberCB::Reset() {
  Impl& s = *impl_;
  s.geometry = ComputeChunkGeometry(s.size.width, s.size.height, s.T, g_param.nVideoKBps, g_param.bSecondChunks != 0);
  s.lastTime.store(0.0, std::memory_order_relaxed);
  s.meanInputInterval.store(0.0, std::memory_order_relaxed);
  s.frameCount.store(0, std::memory_order_relaxed);
  s.slots = FrameSlots(s.start, s.T, s.geometry.D, s.geometry.F, s.timeTolerance);
  s.nextSlot = 0;
  s.chunkInPicture = -1;
  s.sourceFrames = 0;
  s.lastPictureTime = -1.0;
  s.pictureHeld = false;
  s.lastPercent = 0;
  s.thumbnailHeld = false;
  s.thumbnailInWork = false;
  s.chunkEncoder.Finish();
  s.chunkEncoder.NewPass();
}

void CVideoGrabberCB::SetLastPercent(int32_t percent) { impl_->lastPercent = percent; }

void CVideoGrabberCB::AttachFile(BinaryFile* file) { impl_->video = file; }
void CVideoGrabberCB::EndPass() { impl_->chunkEncoder.Finish(); }

void CVideoGrabberCB::DetachFile() {
  impl_->chunkEncoder.Finish();
  impl_->video = nullptr;
}

void CVideoGrabberCB::FinishAt(double end) {
  Impl& s = *impl_;
  if (!s.MakesPictures() || !s.pictureHeld) return;
  const int64_t F = s.geometry.F;
  // A slot of which the range holds less than half is left out: a sound
  // that ends a few milliseconds after the last picture adds no frame.
  const int64_t due = s.slots.SlotsBefore(end - s.T / 2);
  const int64_t slots = std::min<int64_t>((due + F - 1) / F * F, INT32_MAX / F * F);
  // A frame due exactly at the end opened a chunk of its own: it lies past
  // the range and is not written.
  if (s.chunkInPicture * F < slots) {
    for (; s.nextSlot < slots && IsBusy(); ++s.nextSlot) {
      s.EnterSlot(s.nextSlot);
      s.PlaceFrame(static_cast<int32_t>(s.nextSlot % F));
    }
    if (!IsBusy()) return;
    s.FlushChunk();
    s.chunkInPicture = -1;
  }
  // The run goes on to the header only with every chunk written, and stops
  // when the last one fitted no quality.
  s.chunkEncoder.Finish();
  s.frameCount.store(static_cast<int32_t>(slots), std::memory_order_relaxed);
}

const ChunkGeometry& CVideoGrabberCB::Geometry() const { return impl_->geometry; }
int32_t CVideoGrabberCB::FrameCount() const { return impl_->frameCount.load(std::memory_order_relaxed); }
double CVideoGrabberCB::LastPictureTime() const { return impl_->lastPictureTime; }
double CVideoGrabberCB::LastTime() const { return impl_->lastTime.load(std::memory_order_relaxed); }
double CVideoGrabberCB::MeanInputInterval() const { return impl_->meanInputInterval.load(std::memory_order_relaxed); }

}  // namespace kdx
