#include "ui/dialog_frame.h"

#include <QColor>
#include <QPalette>

#include "app/window_fonts.h"

namespace vormek {

void SetUpDialogFrame(QWidget& dialog, int width, int height) {
  dialog.setFixedSize(width, height);
  dialog.setFont(SongFont(12));
  dialog.setAutoFillBackground(true);
  QPalette pal = dialog.palette();
  pal.setColor(QPalette::Window, QColor(0xE3, 0xEF, 0xF3));
  dialog.setPalette(pal);
}

}  // namespace vormek
