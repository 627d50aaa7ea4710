// Decoding of a JPEG image held in memory, with libjpeg.
#pragma once

#include <cstddef>

#include <QImage>

// The decoded picture as 24-bit RGB; a null image when the data is not a readable JPEG.
QImage DecodeJpeg(const unsigned char *data, std::size_t size);
