// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/batch/thumbnail.h"

#include "platform/base/bitmap.h"

QImage ImageOfBitmap(HBITMAP bitmap) {
  int32_t width = 0, height = 0;
  const uint8_t* pixels = bitmap ? GetBitmapPixels(bitmap) : nullptr;
  if (pixels == nullptr || !GetBitmapSize(bitmap, &width, &height) || width <= 0 || height <= 0) return {};
  // The bitmap's rows are packed top-down BGR; the copy outlives the bitmap.
  return QImage(pixels, width, height, 3 * width, QImage::Format_BGR888).copy();
}

void OwnedThumbnail::Reset(HBITMAP bitmap) {
  if (m_bitmap != nullptr && m_bitmap != bitmap) DeleteObject(reinterpret_cast<HGDIOBJ>(m_bitmap));
  m_bitmap = bitmap;
}
