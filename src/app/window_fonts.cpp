#include "app/window_fonts.h"

#include <QStringList>

namespace vormek {

QFont SongFont(int pixelHeight, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                    QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW")});
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setStyleHint(QFont::Serif);
  return font;
}

}  // namespace vormek
