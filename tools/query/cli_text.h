#pragma once
// The one crossing between the terminal's text and the tables' GBK bytes.
#include <string>
#include <string_view>

namespace vormek::cli {

class TTextCodec {
 public:
  explicit TTextCodec(bool gbk) : gbk_(gbk) {}

  // An argument as the tables' bytes. A character GBK cannot encode gives a
  // text that no station or train number can equal (it starts with byte
  // 0xFF, never a GBK lead byte), so the input is refused or finds nothing.
  std::string Argument(std::string_view arg) const;

  // GBK text for the terminal.
  std::string Output(std::string_view gbk) const;
  bool Gbk() const { return gbk_; }

 private:
  bool gbk_;
};

// An argument echoed in a message: control characters (C0, DEL, and C1 as
// UTF-8 spells them, unless the text is GBK, where those bytes begin
// characters) become \xNN, so that no escape sequence reaches the terminal.
std::string Echo(std::string_view arg, bool gbk = false);

}  // namespace vormek::cli
