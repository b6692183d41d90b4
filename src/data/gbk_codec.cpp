#include "data/gbk_codec.h"

#include <iconv.h>

#include <cerrno>

#include "data/gbk_bytes.h"

namespace vormek {

namespace {

// One converter per thread and direction: iconv_open is slow, and a handle
// must not be shared between threads.
class TConverter {
 public:
  TConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~TConverter() {
    if (Ok()) iconv_close(cd_);
  }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns false at the first byte sequence it
  // cannot convert, leaving in/inLeft there.
  bool Convert(char*& in, std::size_t& inLeft, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    char buffer[1024];
    while (inLeft > 0) {
      char* next = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &next, &room);
      out.append(buffer, static_cast<std::size_t>(next - buffer));
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  thread_local TConverter converter("UTF-8", "GBK");
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  std::size_t i = 0;
  while (i < gbk.size()) {
    const std::size_t length = gbk::CharLength(gbk, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    if (length == 1) {
      out += gbk[i++];
      continue;
    }
    // A run of well-formed pairs and ASCII goes to iconv in one piece.
    std::size_t end = i;
    while (end < gbk.size()) {
      const std::size_t l = gbk::CharLength(gbk, end);
      if (l == 0) break;
      end += l;
    }
    std::string piece(gbk.substr(i, end - i));
    char* in = piece.data();
    std::size_t inLeft = piece.size();
    while (inLeft > 0) {
      if (converter.Ok() && converter.Convert(in, inLeft, out)) break;
      // A pair with no character behind it becomes one replacement.
      const std::size_t skip = gbk::CharLength(std::string_view(in, inLeft), 0);
      if (skip == 1)
        out += *in;
      else
        out += kReplacement;
      in += skip;
      inLeft -= skip;
    }
    i = end;
  }
  return out;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local TConverter converter("GBK", "UTF-8");
  if (!converter.Ok()) return std::nullopt;
  std::string piece(utf8);
  char* in = piece.data();
  std::size_t inLeft = piece.size();
  std::string out;
  out.reserve(utf8.size());
  if (!converter.Convert(in, inLeft, out)) return std::nullopt;
  return out;
}

bool IsWholeGbk(std::string_view gbk) {
  for (std::size_t i = 0; i < gbk.size();) {
    const std::size_t length = gbk::CharLength(gbk, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace vormek
