#include "app/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace vormek {
namespace {

// A gear of eight teeth in the window's blue, drawn at `size` pixels.
QPixmap Gear(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  QPainterPath gear;
  gear.addEllipse(QPointF(8, 8), 5.2, 5.2);
  for (int i = 0; i < 8; ++i) {
    const double angle = i * std::numbers::pi / 4;
    QPainterPath tooth;
    tooth.addRect(QRectF(-1.4, -7.6, 2.8, 3.2));
    QTransform place;
    place.translate(8, 8);
    place.rotateRadians(angle);
    gear = gear.united(place.map(tooth));
  }
  QPainterPath hole;
  hole.addEllipse(QPointF(8, 8), 2.2, 2.2);
  painter.fillPath(gear.subtracted(hole), QColor(0x0A, 0x24, 0x6A));
  painter.end();
  return pixmap;
}

}  // namespace

QIcon AdvancedButtonPicture() {
  QIcon icon;
  for (const int size : {16, 32}) icon.addPixmap(Gear(size));
  return icon;
}

}  // namespace vormek
