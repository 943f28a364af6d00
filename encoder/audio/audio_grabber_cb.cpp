#include "audio/audio_grabber_cb.h"

#include "library_state.h"

namespace kdx {

int CAudioGrabberCB::SampleCB(double time, IMediaSample* sample) {
  if (converter_ == nullptr || !IsBusy()) return 0;
  // The run's end test reads the last time, so it moves for buffers outside
  // the range too.
  lastTime_.store(time);
  if (time < start_ || time > stop_ || sample == nullptr || channels_ < 1) return 0;
  const uint8_t* data = sample->GetPointer();
  const int32_t bytes = sample->GetActualDataLength();
  if (data == nullptr || bytes <= 0) return 0;
  // A failed conversion is remembered by the converter and ends the sound
  // part; the pictures go on.
  converter_->AppendPcm16(reinterpret_cast<const int16_t*>(data), bytes / (2 * channels_));
  return 0;
}

}  // namespace kdx
