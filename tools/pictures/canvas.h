#pragma once
// A small RGB drawing surface and its Windows BMP encodings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vormek::pictures {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb background);
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[y * width_ + x]; }

  void Set(int x, int y, Rgb c);  // outside the canvas: ignored
  void FillRect(int x, int y, int w, int h, Rgb c);
  void FillCircle(int cx, int cy, int radius, Rgb c);
  void Ring(int cx, int cy, int radius, int thickness, Rgb c);
  void Line(int x0, int y0, int x1, int y1, Rgb c);
  // Our own 5x7 letters (A-Z subset, digits, '.', '-', ' '), scaled.
  void Text(int x, int y, std::string_view text, int scale, Rgb c);
  static int TextWidth(std::string_view text, int scale);

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

// 8 bits per pixel with a 256-entry palette (pixels at byte 1078). Throws when
// the picture uses more than 256 colours.
std::string EncodeBmp8(const Canvas& canvas);
// 24 bits per pixel (pixels at byte 54).
std::string EncodeBmp24(const Canvas& canvas);

}  // namespace vormek::pictures
