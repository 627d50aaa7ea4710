// Writes the application icon in the sizes of the hicolor icon theme, from the About box
// picture decoded by the program's own JPEG decoder. Run by the build:
//   make-icons PICTURE.jpg OUTDIR SIZE...    writes OUTDIR/SIZExSIZE/apps/ulvan.png
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QDir>
#include <QImage>

#include "JpegImage.h"

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make-icons PICTURE.jpg OUTDIR SIZE...\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<unsigned char> jpeg{std::istreambuf_iterator<char>(in), {}};
  const QImage picture = DecodeJpeg(jpeg.data(), jpeg.size());
  if (picture.isNull()) {
    std::fprintf(stderr, "make-icons: %s is not a readable JPEG file\n", argv[1]);
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const int size = std::stoi(argv[i]);
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    const QImage icon = picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (size <= 0 || !QDir().mkpath(folder) || !icon.save(folder + QStringLiteral("/ulvan.png"), "PNG")) {
      std::fprintf(stderr, "make-icons: cannot write the %dx%d icon into %s\n", size, size, argv[2]);
      return 1;
    }
  }
  return 0;
}
