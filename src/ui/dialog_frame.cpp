#include "ui/dialog_frame.h"

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "gui_text/window_fonts.h"

namespace vormek {

void SetUpDialogFrame(QWidget& dialog, int width, int height) {
  dialog.setFixedSize(width, height);
  dialog.setFont(SongFont(12));
  SetFixedBackground(dialog, QColor(0xE3, 0xEF, 0xF3));
}

void SetFixedBackground(QWidget& widget, const QColor& background) {
  widget.setAutoFillBackground(true);
  QPalette pal = widget.palette();
  pal.setColor(QPalette::Window, background);
  pal.setColor(QPalette::WindowText, Qt::black);
  widget.setPalette(pal);
}

QPushButton* DialogButton(QWidget* parent, const QString& caption, const QString& name, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

QLabel* CountLabel(QWidget* parent, const QRect& geometry) {
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("LabCount"));
  label->setGeometry(geometry);
  QPalette blue = label->palette();
  blue.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
  label->setPalette(blue);
  return label;
}

}  // namespace vormek
