#include "audio/audio_grabber_cb.h"

#include "audio/pcm_capture_limit.h"
#include "library_state.h"

namespace kdx {

int CAudioGrabberCB::SampleCB(double time, IMediaSample* sample) {
  if (file_ == nullptr || !IsBusy()) return 0;
  // The run's end test reads the last time, so it moves for buffers outside
  // the range too.
  lastTime_.store(time);
  if (time < start_ || time > stop_ || sample == nullptr) return 0;
  const uint8_t* data = sample->GetPointer();
  if (data == nullptr) return 0;
  const uint32_t bytes = PcmBytesToAppend(byteCount_.load(), sample->GetActualDataLength());
  if (bytes == 0) return 0;
  // A failed write is remembered by the file and checked by the run.
  file_->Write(data, bytes);
  byteCount_.fetch_add(bytes);
  return 0;
}

}  // namespace kdx
