#include "output/column_names.h"

#include <array>

namespace vormek {

namespace {

template <std::size_t N>
std::string NameAt(const std::array<const char*, N>& names, int col) {
  if (col < 0 || static_cast<std::size_t>(col) >= N) return {};
  return names[static_cast<std::size_t>(col)];
}

}  // namespace

std::string ResultColumnName(int col) {
  static const std::array<const char*, 15> kNames = {"车次", "始发", "终到", "车型", "发站", "发时", "到站", "到时",
                                                     "停站", "里程", "历时", "硬座", "软座", "硬卧", "软卧"};
  return NameAt(kNames, col);
}

std::string DetailColumnName(int col) {
  static const std::array<const char*, 8> kNames = {"站序", "车站", "里程", "到时", "发时", "天数", "历时", "时速"};
  return NameAt(kNames, col);
}

std::string ReportColumnName(TGridKind kind, int col) {
  return kind == TGridKind::Result ? ResultColumnName(col) : DetailColumnName(col);
}

std::vector<std::string> ReportHeader(TGridKind kind, int colCount) {
  std::vector<std::string> names;
  for (int col = 0; col < colCount; ++col) names.push_back(ReportColumnName(kind, col));
  return names;
}

}  // namespace vormek
