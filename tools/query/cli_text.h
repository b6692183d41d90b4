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

 private:
  bool gbk_;
};

}  // namespace vormek::cli
