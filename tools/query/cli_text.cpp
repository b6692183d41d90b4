#include "cli_text.h"

#include "data/gbk_codec.h"

namespace vormek::cli {

std::string TTextCodec::Argument(std::string_view arg) const {
  if (gbk_) return std::string(arg);
  if (auto gbk = Utf8ToGbk(arg)) return *std::move(gbk);
  return "\xff" + std::string(arg);
}

std::string TTextCodec::Output(std::string_view gbk) const {
  if (gbk_) return std::string(gbk);
  return GbkToUtf8(gbk);
}

}  // namespace vormek::cli
