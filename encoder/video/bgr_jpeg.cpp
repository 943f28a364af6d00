// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/bgr_jpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace kdx {

namespace {

constexpr size_t kBlockBytes = 4096;

// libjpeg's own error handling ends the process; a failure must only make
// the encoding fail.
struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};

void Escape(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->escape, 1); }
void Quiet(j_common_ptr) {}

// Appends to the vector in blocks, growing it as libjpeg fills them.
struct VectorSink {
  jpeg_destination_mgr manager;
  std::vector<uint8_t>* bytes;
};

void StartSink(j_compress_ptr info) {
  auto* sink = reinterpret_cast<VectorSink*>(info->dest);
  sink->bytes->resize(kBlockBytes);
  sink->manager.next_output_byte = sink->bytes->data();
  sink->manager.free_in_buffer = kBlockBytes;
}

boolean GrowSink(j_compress_ptr info) {
  auto* sink = reinterpret_cast<VectorSink*>(info->dest);
  // libjpeg calls this only once the whole buffer is full.
  const size_t used = sink->bytes->size();
  sink->bytes->resize(used + kBlockBytes);
  sink->manager.next_output_byte = sink->bytes->data() + used;
  sink->manager.free_in_buffer = kBlockBytes;
  return TRUE;
}

void EndSink(j_compress_ptr info) {
  auto* sink = reinterpret_cast<VectorSink*>(info->dest);
  sink->bytes->resize(sink->bytes->size() - sink->manager.free_in_buffer);
}

}  // namespace

bool EncodeBgrJpeg(const ImageView& picture, int32_t quality, std::vector<uint8_t>* jpeg) {
  jpeg->clear();
  if (picture.Empty()) return false;
  // Row pointers from the top, into the picture as it lies in memory.
  std::vector<JSAMPROW> rows(static_cast<size_t>(picture.height));
  for (int32_t y = 0; y < picture.height; ++y) rows[static_cast<size_t>(y)] = picture.RowFromTop(y);

  jpeg_compress_struct info{};
  ErrorTrap trap{};
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = Escape;
  trap.manager.output_message = Quiet;
  VectorSink sink{};
  sink.bytes = jpeg;
  sink.manager.init_destination = StartSink;
  sink.manager.empty_output_buffer = GrowSink;
  sink.manager.term_destination = EndSink;
  jpeg_create_compress(&info);
  volatile bool done = false;
  if (setjmp(trap.escape) == 0) {
    info.dest = &sink.manager;
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      jpeg_write_scanlines(&info, rows.data() + info.next_scanline, info.image_height - info.next_scanline);
    }
    jpeg_finish_compress(&info);
    done = true;
  }
  jpeg_destroy_compress(&info);
  if (!done) jpeg->clear();
  return done;
}

}  // namespace kdx
