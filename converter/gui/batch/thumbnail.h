// SPDX-License-Identifier: GPL-2.0-or-later
// The progress thumbnail the encoder hands over with a progress message: the
// batch owns it until the next one arrives or the run ends.
#pragma once

#include <QImage>

#include "platform/base/platform_types.h"

// A copy of the bitmap's pixels; a null picture for a null bitmap.
QImage ImageOfBitmap(HBITMAP bitmap);

class OwnedThumbnail {
 public:
  OwnedThumbnail() = default;
  ~OwnedThumbnail() { Reset(); }
  OwnedThumbnail(const OwnedThumbnail&) = delete;
  OwnedThumbnail& operator=(const OwnedThumbnail&) = delete;

  // Frees the bitmap held so far and takes this one (null: holds none).
  void Reset(HBITMAP bitmap = nullptr);
  HBITMAP get() const { return m_bitmap; }

 private:
  HBITMAP m_bitmap = nullptr;
};
