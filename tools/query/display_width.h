#pragma once
// How many terminal columns UTF-8 text takes: East Asian wide and fullwidth
// characters (CJK, kana, hangul, fullwidth forms) take two, combining marks
// none, everything else one.
#include <string_view>

namespace vormek::cli {

int DisplayWidth(std::string_view utf8);

}  // namespace vormek::cli
