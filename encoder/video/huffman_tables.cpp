#include "video/huffman_tables.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace kdx {

namespace {

// libjpeg's own error handling ends the process; a damaged input must only
// make the rewrite fail.
struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};

void Escape(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->escape, 1); }
void Quiet(j_common_ptr) {}

}  // namespace

bool OptimiseHuffmanTables(std::vector<uint8_t>& jpeg) {
  if (jpeg.empty()) return false;
  jpeg_decompress_struct source{};
  jpeg_compress_struct target{};
  ErrorTrap trap{};
  source.err = target.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = Escape;
  trap.manager.output_message = Quiet;
  unsigned char* rewritten = nullptr;
  unsigned long rewrittenSize = 0;
  // Both objects exist before either can fail, so one clean-up serves.
  jpeg_create_decompress(&source);
  jpeg_create_compress(&target);
  volatile bool done = false;
  if (setjmp(trap.escape) == 0) {
    jpeg_mem_src(&source, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    if (jpeg_read_header(&source, TRUE) == JPEG_HEADER_OK && !source.progressive_mode) {
      jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&source);
      jpeg_copy_critical_parameters(&source, &target);
      target.optimize_coding = TRUE;
      jpeg_mem_dest(&target, &rewritten, &rewrittenSize);
      jpeg_write_coefficients(&target, coefficients);
      jpeg_finish_compress(&target);
      jpeg_finish_decompress(&source);
      done = true;
    }
  }
  jpeg_destroy_compress(&target);
  jpeg_destroy_decompress(&source);
  if (done && rewritten != nullptr && rewrittenSize > 0) jpeg.assign(rewritten, rewritten + rewrittenSize);
  std::free(rewritten);
  return done;
}

}  // namespace kdx
