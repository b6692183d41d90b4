// Names of the train type codes, as the result grid shows them.
#include <array>
#include <string>

#include "rules/UPub_Center.h"

namespace vormek {

std::string TrainTypeName(int code) {
  // Index 0 is unused: codes start at 1.
  static const std::array<const char*, 15> kNames = {"",         "动车组",   "高速动车", "城际高速", "直特",
                                                     "空调特快", "空调快速", "快速",     "普快",     "空调普快",
                                                     "空调普客", "普客",     "特快",     "空调临客", "临客"};
  if (code < 1 || code > 14) return {};
  return kNames[static_cast<std::size_t>(code)];
}

}  // namespace vormek
