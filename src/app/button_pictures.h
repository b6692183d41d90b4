#pragma once
// Pictures the window layout carries itself (not embedded items): the gear
// on the "高级" menu button.
#include <QIcon>

namespace vormek {

QIcon AdvancedButtonPicture();

}  // namespace vormek
