// Draws the About box picture (a sea-lettuce leaf on a sea-blue ground) and writes it as a
// JPEG file with libjpeg. Built and run by hand when the picture changes:
//   g++ -std=c++20 -O2 MakeAboutPicture.cpp -ljpeg -o make-about-picture
//   ./make-about-picture ../AboutPicture.jpg
#include <cmath>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int Width = 64;
constexpr int Height = 64;

struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The colour of one pixel: a plain ground near the edges (the test samples it there), a
// leaf with a midrib in the middle.
Rgb Pixel(int x, int y) {
  const Rgb sea{0, 96, 160};
  const Rgb leafDark{20, 120, 40};
  const Rgb leafLight{120, 210, 90};
  const Rgb rib{230, 245, 200};
  const double cx = 32.0, cy = 32.0;
  // Coordinates along and across the leaf, which is tilted by 45 degrees.
  const double u = ((x - cx) + (y - cy)) / std::sqrt(2.0);
  const double v = ((x - cx) - (y - cy)) / std::sqrt(2.0);
  const double halfLength = 26.0;
  if (std::fabs(u) >= halfLength) return sea;
  const double halfWidth = 11.0 * std::cos(u / halfLength * 1.5707963) *
                           (1.0 + 0.12 * std::sin(u * 0.9));
  if (std::fabs(v) >= halfWidth) return sea;
  if (std::fabs(v) < 1.0 && std::fabs(u) < halfLength - 3) return rib;
  return Mix(leafLight, leafDark, std::fabs(v) / halfWidth);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.jpg\n", argv[0]);
    return 2;
  }
  std::FILE *out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = Width;
  cinfo.image_height = Height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 92, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(Width * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < Width; ++x) {
      const Rgb c = Pixel(x, y);
      row[x * 3 + 0] = static_cast<JSAMPLE>(std::lround(c.r));
      row[x * 3 + 1] = static_cast<JSAMPLE>(std::lround(c.g));
      row[x * 3 + 2] = static_cast<JSAMPLE>(std::lround(c.b));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(out) == 0 ? 0 : 1;
}
