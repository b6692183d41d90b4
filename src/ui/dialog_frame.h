#pragma once
// The look the detail and transfer windows share: a fixed size, the Song
// face and the pale blue window colour.
#include <QWidget>

namespace vormek {

void SetUpDialogFrame(QWidget& dialog, int width, int height);

}  // namespace vormek
