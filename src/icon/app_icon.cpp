#include "icon/app_icon.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace vormek {
namespace {

constexpr double kUnits = 64.0;

struct TShape {
  enum Kind { RoundRect, Circle, Line } kind;
  double x, y, w, h;  // a line runs from (x, y) to (w, h); a circle's radius is w
  double radius;      // corner radius, or the line's width
  const char* colour;
};

const std::vector<TShape>& Shapes() {
  static const std::vector<TShape> shapes = {
      {TShape::RoundRect, 4, 4, 56, 56, 12, "#0a7d3b"},  // tile
      {TShape::Line, 23, 50, 13, 60, 3, "#ffffff"},      // rails
      {TShape::Line, 41, 50, 51, 60, 3, "#ffffff"},
      {TShape::RoundRect, 16, 10, 32, 40, 9, "#ffffff"},  // train front
      {TShape::RoundRect, 20, 16, 24, 13, 3, "#0a246a"},  // windscreen
      {TShape::Circle, 24.5, 39, 3.5, 0, 0, "#f2c200"},   // lamps
      {TShape::Circle, 39.5, 39, 3.5, 0, 0, "#f2c200"},
  };
  return shapes;
}

QString Num(double v) { return QString::number(v, 'g', 6); }

}  // namespace

QString AppIconSvg() {
  QString svg = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n");
  for (const TShape& s : Shapes()) {
    switch (s.kind) {
      case TShape::RoundRect:
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
                   .arg(Num(s.x), Num(s.y), Num(s.w), Num(s.h), Num(s.radius), QLatin1String(s.colour));
        break;
      case TShape::Circle:
        svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                   .arg(Num(s.x), Num(s.y), Num(s.w), QLatin1String(s.colour));
        break;
      case TShape::Line:
        svg += QStringLiteral(
                   "  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" "
                   "stroke-linecap=\"round\"/>\n")
                   .arg(Num(s.x), Num(s.y), Num(s.w), Num(s.h), QLatin1String(s.colour), Num(s.radius));
        break;
    }
  }
  svg += QStringLiteral("</svg>\n");
  return svg;
}

QImage DrawAppIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kUnits, size / kUnits);
  for (const TShape& s : Shapes()) {
    const QColor colour(QLatin1String(s.colour));
    switch (s.kind) {
      case TShape::RoundRect:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(s.x, s.y, s.w, s.h), s.radius, s.radius);
        break;
      case TShape::Circle:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(s.x, s.y), s.w, s.w);
        break;
      case TShape::Line:
        painter.setPen(QPen(colour, s.radius, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(s.x, s.y), QPointF(s.w, s.h));
        break;
    }
  }
  painter.end();
  return image;
}

}  // namespace vormek
