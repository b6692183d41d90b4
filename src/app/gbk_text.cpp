#include "app/gbk_text.h"

#include <QList>

#include "data/gbk_codec.h"

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
  auto blank = [](QChar ch) { return ch.unicode() <= 32 || ch.unicode() == 127; };
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && blank(text.at(begin))) ++begin;
  while (end > begin && blank(text.at(end - 1))) --end;
  return text.mid(begin, end - begin);
}

}  // namespace vormek
