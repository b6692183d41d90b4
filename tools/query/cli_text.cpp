#include "cli_text.h"

#include "data/gbk_codec.h"

namespace vormek::cli {

std::string TTextCodec::Argument(std::string_view arg) const {
  if (gbk_) return std::string(arg);
  if (auto gbk = Utf8ToGbk(arg)) return *std::move(gbk);
  return "\xff" + std::string(arg);
}

std::string Echo(std::string_view arg, bool gbk) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  auto escape = [&out](unsigned char b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 15];
  };
  for (std::size_t i = 0; i < arg.size(); ++i) {
    const auto b = static_cast<unsigned char>(arg[i]);
    if (b < 0x20 || b == 0x7f) {
      escape(b);
    } else if (!gbk && b == 0xc2 && i + 1 < arg.size() && static_cast<unsigned char>(arg[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(arg[i + 1]) <= 0x9f) {
      escape(b);
      escape(static_cast<unsigned char>(arg[++i]));
    } else {
      out += arg[i];
    }
  }
  return out;
}

std::string TTextCodec::Output(std::string_view gbk) const {
  if (gbk_) return std::string(gbk);
  return GbkToUtf8(gbk);
}

}  // namespace vormek::cli
