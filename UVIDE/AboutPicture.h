// The About box picture, a JPEG file compiled into the program (AboutPicture.jpg).
#pragma once

#include <cstddef>

extern const unsigned char AboutPictureJpeg[];
extern const std::size_t AboutPictureJpegSize;
