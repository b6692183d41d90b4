#pragma once
// The program's icon: a green tile with the front of a train on rails. One
// description drawn two ways, as SVG text for the icon theme and as a
// picture of any size for the window and the theme's PNG sizes.
#include <QImage>
#include <QString>

namespace vormek {

// The icon as a scalable picture (64 by 64 user units).
QString AppIconSvg();

// The icon drawn into a square picture with a transparent surround.
QImage DrawAppIcon(int size);

}  // namespace vormek
