// SPDX-License-Identifier: GPL-2.0-or-later
// A buffer of converted sound handed to the audio callback.
#pragma once

#include "graph/media_sample.h"

namespace kdx {

class PcmSample : public IMediaSample {
 public:
  PcmSample(const uint8_t* data, int32_t size) : data_(data), size_(size) {}
  const uint8_t* GetPointer() override { return data_; }
  int32_t GetActualDataLength() override { return size_; }

 private:
  const uint8_t* data_;
  int32_t size_;
};

}  // namespace kdx
