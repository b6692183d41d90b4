#include "gui_text/window_fonts.h"

#include <QFontInfo>
#include <QStringList>

namespace vormek {

QFont SongFont(int pixelHeight, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                    QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                    QStringLiteral("Noto Serif CJK SC")});
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setStyleHint(QFont::Serif);
  return font;
}

QFont InSameFace(const QFont& font, bool bold) {
  QFont regular = font;
  regular.setBold(false);
  QFont out = font;
  out.setFamilies({QFontInfo(regular).family()});
  out.setBold(bold);
  return out;
}

}  // namespace vormek
