#include "app/cjk_font_check.h"

#include <QFontDatabase>
#include <QMessageBox>
#include <cstdio>

namespace vormek {

QString MissingCjkFontWarning(const QStringList& chineseFamilies) {
  if (!chineseFamilies.isEmpty()) return {};
  return QStringLiteral(
             "No Chinese font is installed, so the window's texts show as boxes.\n"
             "Install one and start the program again, for example:\n\n"
             "    sudo apt install %1")
      .arg(kCjkFontPackage);
}

void WarnWithoutCjkFont(QWidget* parent) {
  const QString warning = MissingCjkFontWarning(QFontDatabase::families(QFontDatabase::SimplifiedChinese));
  if (warning.isEmpty()) return;
  std::fprintf(stderr, "vormek: %s\n", qPrintable(warning));
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Vormek"), warning, QMessageBox::NoButton, parent);
  // Not Qt's translated "确定": without the font it would be boxes too.
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace vormek
