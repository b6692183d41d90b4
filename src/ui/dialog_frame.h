#pragma once
// The look the detail and transfer windows share: a fixed size, the Song
// face and the pale blue window colour with dark text.
#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vormek {

void SetUpDialogFrame(QWidget& dialog, int width, int height);

// A fixed background colour, and with it a fixed dark text colour for the
// widget and everything on it, so a dark desktop theme's light text does not
// land on these light panels.
void SetFixedBackground(QWidget& widget, const QColor& background);

// A dialog's button: named and placed, never pressed by Enter elsewhere.
QPushButton* DialogButton(QWidget* parent, const QString& caption, const QString& name, const QRect& geometry);

// The blue line above a list that says how many it holds.
QLabel* CountLabel(QWidget* parent, const QRect& geometry);

}  // namespace vormek
