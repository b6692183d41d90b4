#include "gbk_convert.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace vormek::builder {
namespace {

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// One-shot conversion; nullopt on any byte the target set cannot take.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text, bool replaceBad) {
  iconv_t raw = iconv_open(to, from);
  if (raw == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::unique_ptr<void, IconvCloser> cd(raw);
  std::string out;
  std::string in(text);
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(raw, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      if (!replaceBad) return std::nullopt;
      out.push_back('?');
      ++inPtr;
      --inLeft;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> ToGbk(std::string_view utf8) { return Convert("GBK", "UTF-8", utf8, false); }

std::string ToUtf8(std::string_view gbk) { return Convert("UTF-8", "GBK", gbk, true).value_or(std::string(gbk)); }

int GbkLength(std::string_view gbk) {
  int count = 0;
  for (std::size_t i = 0; i < gbk.size(); ++i, ++count) {
    if (static_cast<unsigned char>(gbk[i]) > 0x80 && i + 1 < gbk.size()) ++i;
  }
  return count;
}

}  // namespace vormek::builder
