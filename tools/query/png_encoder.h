#pragma once
// PNG files of 8-bit RGB pictures.
#include <string>

#include "rgb_image.h"

namespace vormek::cli {

// The whole file: signature, IHDR, the IDAT chunks, IEND. Each row takes
// the filter (none, sub or up) that leaves it the smallest sum of bytes.
std::string EncodePng(const TRgbImage& image);

}  // namespace vormek::cli
