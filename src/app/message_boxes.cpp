#include "app/message_boxes.h"

#include <QMessageBox>

namespace vormek {

namespace {

void Show(QMessageBox::Icon icon, QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void TModalMessageBoxes::Inform(QWidget* parent, const QString& text, const QString& caption) {
  Show(QMessageBox::Information, parent, text, caption);
}

void TModalMessageBoxes::Warn(QWidget* parent, const QString& text, const QString& caption) {
  Show(QMessageBox::Warning, parent, text, caption);
}

bool TModalMessageBoxes::AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace vormek
