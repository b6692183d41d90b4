#pragma once
// A picture as the PNG writer takes it: 8-bit RGB, row after row, no
// padding.
#include <cstdint>
#include <vector>

#include "output/train_graph.h"

namespace vormek::cli {

struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // Width * Height * 3 bytes

  TRgbImage() = default;
  TRgbImage(int width, int height) : Width(width), Height(height), Pixels(std::size_t(width) * height * 3, 0xFF) {}

  // Lays the colour over the pixel with the given coverage, 0..256 (256
  // lays it whole). Integer arithmetic: blending is a third of the time
  // spent drawing a busy graph.
  void Blend(int x, int y, TGraphColour colour, int coverage) {
    std::uint8_t* p = &Pixels[(std::size_t(y) * Width + x) * 3];
    p[0] = std::uint8_t(p[0] + (((colour.R - p[0]) * coverage + 128) >> 8));
    p[1] = std::uint8_t(p[1] + (((colour.G - p[1]) * coverage + 128) >> 8));
    p[2] = std::uint8_t(p[2] + (((colour.B - p[2]) * coverage + 128) >> 8));
  }
};

// Coverage to lay over a picture, one byte a pixel (0..255), such as a
// glyph; Left and Top place its first byte in the picture. It points into
// storage its maker keeps.
struct TCoverageBitmap {
  const std::uint8_t* Coverage = nullptr;
  int Left = 0, Top = 0, Width = 0, Rows = 0;
};

}  // namespace vormek::cli
