#include "ui/dialog_frame.h"

#include <QColor>
#include <QPalette>

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

}  // namespace vormek
