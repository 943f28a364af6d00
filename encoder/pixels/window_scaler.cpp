// SPDX-License-Identifier: GPL-2.0-or-later
#include "pixels/window_scaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pixels/turned_copy.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace kdx {

namespace {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The window as seen, back in the stretched picture before its turns and
// flip.
Rect UnturnedWindow(const PictureView& view, const Window& window) {
  const int w0 = view.stretchedWidth, h0 = view.stretchedHeight;
  const int x = window.x, w = window.width, h = window.height;
  const int y = view.upsideDown ? view.SeenHeight() - window.y - h : window.y;
  switch (view.clockwiseQuarterTurns) {
    case 1:
      return Rect{y, h0 - x - w, h, w};
    case 2:
      return Rect{w0 - x - w, h0 - y - h, w, h};
    case 3:
      return Rect{w0 - y - h, x, h, w};
    default:
      return Rect{x, y, w, h};
  }
}

// The stretched rectangle in stored pixels.
Rect StoredWindow(const SourcePicture& source, const PictureView& view, const Rect& stretched,
                  const AVPixFmtDescriptor& descriptor) {
  const double fx = static_cast<double>(source.width) / view.stretchedWidth;
  const double fy = static_cast<double>(source.height) / view.stretchedHeight;
  const int right = std::clamp(static_cast<int>(std::lround((stretched.x + stretched.width) * fx)), 1, source.width);
  const int bottom =
      std::clamp(static_cast<int>(std::lround((stretched.y + stretched.height) * fy)), 1, source.height);
  int left = std::clamp(static_cast<int>(std::lround(stretched.x * fx)), 0, right - 1);
  int top = std::clamp(static_cast<int>(std::lround(stretched.y * fy)), 0, bottom - 1);
  // Pixels packed into bits start on a whole byte.
  const int bitsAlign = (descriptor.flags & AV_PIX_FMT_FLAG_BITSTREAM) ? 8 : 1;
  left &= ~(bitsAlign - 1);
  return Rect{left, top, right - left, bottom - top};
}

// Where the window's first chroma sample lies, in 1/256 of a luma pixel
// from its first luma pixel, for libswscale; kUnsetChromaPosition when it
// lies where libswscale assumes (centred between the luma pixels it
// covers). A window starting inside a chroma sample's span starts its
// chroma planes at that sample, to the left of or above the window.
constexpr int kUnsetChromaPosition = -513;
int ChromaPosition(int start, int log2Subsampling) {
  const int into = start & ((1 << log2Subsampling) - 1);
  if (into == 0) return kUnsetChromaPosition;
  return (128 << log2Subsampling) - 128 - 256 * into;
}

// The window's first pixel in each plane.
void OffsetPlanes(const SourcePicture& source, const AVPixFmtDescriptor& descriptor, const Rect& window,
                  const uint8_t* planes[4]) {
  for (int plane = 0; plane < 4; ++plane) planes[plane] = source.planes[plane];
  for (int c = 0; c < descriptor.nb_components; ++c) {
    const AVComponentDescriptor& component = descriptor.comp[c];
    const bool chroma = c == 1 || c == 2;
    const int x = chroma ? window.x >> descriptor.log2_chroma_w : window.x;
    const int y = chroma ? window.y >> descriptor.log2_chroma_h : window.y;
    // Components sharing a plane start together: the offset is the plane's.
    if (component.offset != 0 && (descriptor.flags & AV_PIX_FMT_FLAG_PLANAR) == 0) continue;
    planes[component.plane] = source.planes[component.plane] +
                              static_cast<ptrdiff_t>(y) * source.linesizes[component.plane] +
                              static_cast<ptrdiff_t>(x) * component.step /
                                  ((descriptor.flags & AV_PIX_FMT_FLAG_BITSTREAM) ? 8 : 1);
  }
}

}  // namespace

// The bicubic filter a little sharper than libswscale's default (C = 0.6):
// shrunk pictures keep more of their fine detail, measured against
// area-averaged references of every clip kind (bench/fidelity_bench.py).
// Other filters ignore these values.
constexpr double kBicubicB = 0.0;
constexpr double kBicubicC = 0.75;

bool WindowScaler::PrepareContext(const Setup& setup) {
  if (context_ && setup == setup_) return true;
  context_.reset(sws_alloc_context());
  SwsContext* context = context_.get();
  if (!context || av_opt_set_int(context, "srcw", setup.sourceWidth, 0) < 0 ||
      av_opt_set_int(context, "srch", setup.sourceHeight, 0) < 0 ||
      av_opt_set_int(context, "src_format", setup.format, 0) < 0 ||
      av_opt_set_int(context, "dstw", setup.width, 0) < 0 || av_opt_set_int(context, "dsth", setup.height, 0) < 0 ||
      av_opt_set_int(context, "dst_format", AV_PIX_FMT_BGR24, 0) < 0 ||
      av_opt_set_int(context, "sws_flags", setup.flags, 0) < 0 ||
      av_opt_set_double(context, "param0", kBicubicB, 0) < 0 || av_opt_set_double(context, "param1", kBicubicC, 0) < 0 ||
      av_opt_set_int(context, "src_h_chr_pos", setup.chromaX, 0) < 0 ||
      av_opt_set_int(context, "src_v_chr_pos", setup.chromaY, 0) < 0 || sws_init_context(context, nullptr, nullptr) < 0) {
    context_.reset();
    return false;
  }
  setup_ = setup;
  // Honour the source's colour matrix and range, which the pixel format
  // alone does not tell for most YUV formats.
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(setup.format));
  if (descriptor && !(descriptor->flags & AV_PIX_FMT_FLAG_RGB) && descriptor->nb_components >= 3)
    sws_setColorspaceDetails(context_.get(), sws_getCoefficients(setup.colorspace), setup.fullRange ? 1 : 0,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
  return true;
}

bool WindowScaler::Scale(const SeenPicture& picture, const Window& window, int swsFlags, const ImageView& target) {
  // Both fields of an interlaced picture scaled together show a moving
  // thing twice (combs, ghosts): one field alone shows it once.
  const SourcePicture source = FirstField(picture.source);
  const PictureView& view = picture.view;
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(source.format);
  if (source.Empty() || target.Empty() || descriptor == nullptr || view.stretchedWidth <= 0 ||
      view.stretchedHeight <= 0 || window.width <= 0 || window.height <= 0 || window.x < 0 || window.y < 0 ||
      window.x + window.width > view.SeenWidth() || window.y + window.height > view.SeenHeight())
    return false;
  const Rect stored = StoredWindow(source, view, UnturnedWindow(view, window), *descriptor);
  const uint8_t* planes[4];
  OffsetPlanes(source, *descriptor, stored, planes);
  const int* linesizes = source.linesizes;
  if (source.format == AV_PIX_FMT_BGR24) {
    if (!packedCopy_.Allocate(stored.width, stored.height)) return false;
    const ImageView rows{const_cast<uint8_t*>(planes[0]), stored.width, stored.height, false,
                         static_cast<size_t>(std::abs(linesizes[0]))};
    const ImageView from = linesizes[0] < 0 ? ImageView{rows.data - rows.Stride() * (stored.height - 1), stored.width,
                                                        stored.height, true, rows.Stride()}
                                            : rows;
    CopyTurned(from, packedCopy_.View(), 0);
    planes[0] = packedCopy_.Planes()[0];
    linesizes = packedCopy_.Linesizes();
  }

  const bool swapped = view.clockwiseQuarterTurns % 2 == 1;
  const int width = swapped ? target.height : target.width;
  const int height = swapped ? target.width : target.height;
  if (!scaled_.Allocate(width, height) ||
      !PrepareContext(Setup{stored.width, stored.height, source.format, source.colorspace, source.fullRange, width,
                            height, swsFlags, ChromaPosition(stored.x, descriptor->log2_chroma_w),
                            ChromaPosition(stored.y, descriptor->log2_chroma_h)}))
    return false;
  if (sws_scale(context_.get(), planes, linesizes, 0, stored.height, scaled_.Planes(), scaled_.Linesizes()) != height)
    return false;
  ImageView seen = target;
  if (view.upsideDown) seen.bottomUp = !seen.bottomUp;
  return CopyTurned(scaled_.View(), seen, view.clockwiseQuarterTurns);
}

}  // namespace kdx
