// JPEG decoding straight through libjpeg's decompression calls.
#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// the decoder, whose only automatic object is a pointer to this context.
struct TJpegContext {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  std::jmp_buf Escape;
  std::vector<unsigned char> Pixels;
  int Width = 0;
  int Height = 0;
};

void ErrorExit(j_common_ptr info) {
  auto *context = reinterpret_cast<TJpegContext *>(info->client_data);
  std::longjmp(context->Escape, 1);
}

void SilentMessage(j_common_ptr) {}

// Fills context->Pixels with rows of RGB triples; false when libjpeg gave up.
bool Decode(TJpegContext *context, const unsigned char *data, std::size_t size) {
  context->Info.err = jpeg_std_error(&context->Errors);
  context->Errors.error_exit = ErrorExit;
  context->Errors.output_message = SilentMessage;
  context->Info.client_data = context;
  jpeg_create_decompress(&context->Info);
  if (setjmp(context->Escape)) {
    jpeg_destroy_decompress(&context->Info);
    return false;
  }
  jpeg_mem_src(&context->Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&context->Info, TRUE);
  context->Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&context->Info);
  context->Width = static_cast<int>(context->Info.output_width);
  context->Height = static_cast<int>(context->Info.output_height);
  const std::size_t rowBytes = static_cast<std::size_t>(context->Width) * 3;
  context->Pixels.resize(rowBytes * static_cast<std::size_t>(context->Height));
  while (context->Info.output_scanline < context->Info.output_height) {
    JSAMPROW row = context->Pixels.data() + rowBytes * context->Info.output_scanline;
    jpeg_read_scanlines(&context->Info, &row, 1);
  }
  jpeg_finish_decompress(&context->Info);
  jpeg_destroy_decompress(&context->Info);
  return true;
}

}  // namespace

QImage DecodeJpeg(const unsigned char *data, std::size_t size) {
  if (data == nullptr || size == 0) return {};
  auto context = std::make_unique<TJpegContext>();
  if (!Decode(context.get(), data, size) || context->Width <= 0 || context->Height <= 0)
    return {};
  QImage image(context->Width, context->Height, QImage::Format_RGB888);
  if (image.isNull()) return {};
  const std::size_t rowBytes = static_cast<std::size_t>(context->Width) * 3;
  for (int y = 0; y < context->Height; ++y)
    std::memcpy(image.scanLine(y), context->Pixels.data() + rowBytes * y, rowBytes);
  return image;
}
