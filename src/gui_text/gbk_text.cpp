#include "gui_text/gbk_text.h"

#include <QList>

#include "data/gbk_codec.h"
#include "stations/station_text.h"

namespace vormek {

QString FromGbk(std::string_view gbk) {
  const std::string utf8 = GbkToUtf8(gbk);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> ToGbk(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace vormek

namespace vormek {

std::string ToGbkForLookup(const QString& text) {
  if (auto whole = ToGbk(text)) return *std::move(whole);
  std::string out;
  for (const uint cp : text.toUcs4()) {
    const char32_t one32 = cp;
    const QString one = QString::fromUcs4(&one32, 1);
    if (auto gbk = ToGbk(one)) {
      out += *gbk;
    } else {
      out += "&#x" + QString::number(static_cast<uint>(cp), 16).toUpper().toStdString() + ";";
    }
  }
  return out;
}

QString TrimBlanksAndControls(const QString& text) {
  // Every blank and control character is ASCII: trim a stand-in of the text
  // with the core's rule, any other character standing in as a letter.
  std::string standIn(static_cast<std::size_t>(text.size()), 'x');
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t ch = text.at(i).unicode();
    if (ch < 128) standIn[static_cast<std::size_t>(i)] = static_cast<char>(ch);
  }
  const std::string_view kept = TrimBlanksAndControls(std::string_view(standIn));
  return text.mid(kept.data() - standIn.data(), static_cast<qsizetype>(kept.size()));
}

}  // namespace vormek
