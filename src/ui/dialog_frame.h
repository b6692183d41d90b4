#pragma once
// The look the detail and transfer windows share: a fixed size, the Song
// face and the pale blue window colour with dark text.
#include <QColor>
#include <QWidget>

namespace vormek {

void SetUpDialogFrame(QWidget& dialog, int width, int height);

// A fixed background colour, and with it a fixed dark text colour for the
// widget and everything on it, so a dark desktop theme's light text does not
// land on these light panels.
void SetFixedBackground(QWidget& widget, const QColor& background);

}  // namespace vormek
