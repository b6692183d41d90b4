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

  // Lays the colour over the pixel with the given coverage (0..1).
  void Blend(int x, int y, TGraphColour colour, float coverage) {
    std::uint8_t* p = &Pixels[(std::size_t(y) * Width + x) * 3];
    const float keep = 1.0f - coverage;
    p[0] = std::uint8_t(p[0] * keep + colour.R * coverage + 0.5f);
    p[1] = std::uint8_t(p[1] * keep + colour.G * coverage + 0.5f);
    p[2] = std::uint8_t(p[2] * keep + colour.B * coverage + 0.5f);
  }
};

}  // namespace vormek::cli
