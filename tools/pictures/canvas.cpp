#include "canvas.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace vormek::pictures {
namespace {

// Rows top to bottom, bit 4 is the left column.
struct Glyph {
  char c;
  std::uint8_t rows[7];
};

constexpr Glyph kGlyphs[] = {{'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
                             {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
                             {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
                             {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
                             {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
                             {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
                             {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
                             {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
                             {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
                             {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
                             {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
                             {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
                             {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
                             {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
                             {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
                             {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x1B, 0x11}},
                             {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
                             {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
                             {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
                             {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
                             {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
                             {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
                             {' ', {0, 0, 0, 0, 0, 0, 0}}};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kGlyphs) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string Headers(const Canvas& canvas, int bits, std::uint32_t offset, std::uint32_t rowBytes) {
  std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(canvas.Height());
  std::string out = "BM";
  PutLe(out, offset + imageSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, offset, 4);
  PutLe(out, 40, 4);  // information header
  PutLe(out, static_cast<std::uint32_t>(canvas.Width()), 4);
  PutLe(out, static_cast<std::uint32_t>(canvas.Height()), 4);  // positive: rows bottom-up
  PutLe(out, 1, 2);
  PutLe(out, static_cast<std::uint32_t>(bits), 2);
  PutLe(out, 0, 4);  // uncompressed
  PutLe(out, imageSize, 4);
  PutLe(out, 2835, 4);  // 72 dpi
  PutLe(out, 2835, 4);
  PutLe(out, bits == 8 ? 256 : 0, 4);
  PutLe(out, 0, 4);
  return out;
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), background) {}

void Canvas::Set(int x, int y, Rgb c) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = c;
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j) {
    for (int i = x; i < x + w; ++i) Set(i, j, c);
  }
}

void Canvas::FillCircle(int cx, int cy, int radius, Rgb c) {
  for (int j = -radius; j <= radius; ++j) {
    for (int i = -radius; i <= radius; ++i) {
      if (i * i + j * j <= radius * radius) Set(cx + i, cy + j, c);
    }
  }
}

void Canvas::Ring(int cx, int cy, int radius, int thickness, Rgb c) {
  int inner = radius - thickness;
  for (int j = -radius; j <= radius; ++j) {
    for (int i = -radius; i <= radius; ++i) {
      int d = i * i + j * j;
      if (d <= radius * radius && d > inner * inner) Set(cx + i, cy + j, c);
    }
  }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  while (true) {
    Set(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::Text(int x, int y, std::string_view text, int scale, Rgb c) {
  for (char ch : text) {
    if (const Glyph* g = FindGlyph(ch)) {
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (g->rows[row] & (0x10 >> col)) FillRect(x + col * scale, y + row * scale, scale, scale, c);
        }
      }
    }
    x += 6 * scale;
  }
}

int Canvas::TextWidth(std::string_view text, int scale) {
  return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

std::string EncodeBmp8(const Canvas& canvas) {
  std::vector<Rgb> palette;
  std::map<std::uint32_t, std::uint8_t> index;
  auto key = [](Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; };
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      Rgb c = canvas.At(x, y);
      if (index.count(key(c))) continue;
      if (palette.size() == 256) throw std::runtime_error("more than 256 colours in an 8-bit picture");
      index[key(c)] = static_cast<std::uint8_t>(palette.size());
      palette.push_back(c);
    }
  }
  palette.resize(256);
  std::uint32_t rowBytes = (static_cast<std::uint32_t>(canvas.Width()) + 3) & ~3u;
  std::string out = Headers(canvas, 8, 14 + 40 + 256 * 4, rowBytes);
  for (Rgb c : palette) {
    out.push_back(static_cast<char>(c.b));
    out.push_back(static_cast<char>(c.g));
    out.push_back(static_cast<char>(c.r));
    out.push_back(0);
  }
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < canvas.Width(); ++x) out.push_back(static_cast<char>(index[key(canvas.At(x, y))]));
    out.append(rowBytes - static_cast<std::uint32_t>(canvas.Width()), '\0');
  }
  return out;
}

std::string EncodeBmp24(const Canvas& canvas) {
  std::uint32_t rowBytes = (static_cast<std::uint32_t>(canvas.Width()) * 3 + 3) & ~3u;
  std::string out = Headers(canvas, 24, 14 + 40, rowBytes);
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      Rgb c = canvas.At(x, y);
      out.push_back(static_cast<char>(c.b));
      out.push_back(static_cast<char>(c.g));
      out.push_back(static_cast<char>(c.r));
    }
    out.append(rowBytes - static_cast<std::uint32_t>(canvas.Width()) * 3, '\0');
  }
  return out;
}

}  // namespace vormek::pictures
