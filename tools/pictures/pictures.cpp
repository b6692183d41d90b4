#include "pictures.h"

#include "canvas.h"

namespace vormek::pictures {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kInk{24, 48, 96};
constexpr Rgb kRed{200, 30, 40};
constexpr Rgb kGreen{40, 150, 70};
constexpr Rgb kSky{90, 150, 220};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kGold{230, 170, 30};

Rgb Mix(Rgb a, Rgb b, int step, int steps) {
  auto m = [&](std::uint8_t x, std::uint8_t y) { return static_cast<std::uint8_t>(x + (y - x) * step / steps); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// A front view of a multiple-unit train: body, windscreen, lamps, rails.
void TrainFront(Canvas& c, int x, int y, int w, int h, Rgb body) {
  c.FillRect(x + 2, y, w - 4, h - 4, body);
  c.FillRect(x, y + 2, w, h - 8, body);
  c.FillRect(x + 3, y + 3, w - 6, h / 3, kSky);
  c.FillRect(x + 2, y + h - 9, 3, 2, kGold);
  c.FillRect(x + w - 5, y + h - 9, 3, 2, kGold);
  c.Line(x + 1, y + h - 1, x + w / 2 - 2, y + h - 4, kGrey);
  c.Line(x + w - 2, y + h - 1, x + w / 2 + 1, y + h - 4, kGrey);
}

std::string Logo() {
  Canvas c(143, 63, kWhite);
  c.FillRect(0, 0, 143, 63, kWhite);
  for (int i = 0; i < 14; ++i) c.FillRect(0, 49 + i, 143, 1, Mix(kInk, kSky, i, 14));
  TrainFront(c, 4, 6, 26, 40, kRed);
  c.Text(35, 8, "VORMEK", 3, kInk);
  c.Text(36, 34, "TIMETABLE", 1, kRed);
  c.Line(35, 44, 139, 44, kInk);
  return EncodeBmp8(c);
}

std::string UpdateGlyph() {
  Canvas c(23, 23, kWhite);
  c.FillCircle(11, 11, 10, kGreen);
  for (int i = 0; i < 6; ++i) c.FillRect(11 - i, 5 + i, 2 * i + 1, 1, kWhite);  // arrow head
  c.FillRect(9, 11, 5, 7, kWhite);
  return EncodeBmp8(c);
}

// Link icons: a globe, a train, a ticket, a clock, a map pin.
std::string Globe() {
  Canvas c(28, 24, kWhite);
  c.FillCircle(14, 12, 10, kSky);
  c.Ring(14, 12, 10, 1, kInk);
  c.Line(4, 12, 24, 12, kInk);
  c.Line(14, 2, 14, 22, kInk);
  c.Ring(14, 12, 6, 1, kWhite);
  return EncodeBmp8(c);
}

std::string TrainIcon() {
  Canvas c(28, 24, kWhite);
  for (int y = 0; y < 24; ++y) c.FillRect(0, y, 28, 1, Mix(kWhite, kSky, y, 24));
  TrainFront(c, 6, 2, 16, 22, kRed);
  return EncodeBmp24(c);
}

std::string Ticket() {
  Canvas c(28, 24, kWhite);
  c.FillRect(2, 5, 24, 14, kGold);
  c.FillCircle(2, 12, 3, kWhite);
  c.FillCircle(25, 12, 3, kWhite);
  for (int y = 6; y < 18; y += 2) c.Set(18, y, kInk);
  c.FillRect(6, 9, 9, 2, kInk);
  c.FillRect(6, 13, 6, 2, kInk);
  return EncodeBmp8(c);
}

std::string Clock() {
  Canvas c(28, 24, kWhite);
  c.FillCircle(14, 12, 10, kInk);
  c.FillCircle(14, 12, 8, kWhite);
  c.Line(14, 12, 14, 6, kInk);
  c.Line(14, 12, 18, 14, kRed);
  return EncodeBmp8(c);
}

std::string Pin() {
  Canvas c(28, 24, kWhite);
  c.FillCircle(14, 8, 7, kRed);
  for (int i = 0; i < 8; ++i) c.FillRect(14 - (7 - i), 12 + i, 2 * (7 - i) + 1, 1, kRed);
  c.FillCircle(14, 8, 3, kWhite);
  return EncodeBmp8(c);
}

std::string Banner() {
  Canvas c(200, 59, kWhite);
  for (int y = 0; y < 59; ++y) c.FillRect(0, y, 200, 1, Mix(kInk, kSky, y, 59));
  c.FillRect(0, 50, 200, 2, kGrey);
  for (int x = 4; x < 200; x += 12) c.FillRect(x, 52, 6, 3, kGrey);  // sleepers
  TrainFront(c, 8, 8, 26, 42, kRed);
  c.Text(44, 12, "VORMEK", 2, kWhite);
  c.Text(44, 34, "2012.05.05", 1, kGold);
  return EncodeBmp8(c);
}

}  // namespace

std::vector<Picture> DrawAll() {
  return {{"LOGO", Logo()}, {"UPDATE", UpdateGlyph()}, {"B1", Globe()}, {"B2", TrainIcon()},
          {"B3", Ticket()}, {"B4", Clock()},           {"B5", Pin()},   {"B7", Banner()}};
}

}  // namespace vormek::pictures
