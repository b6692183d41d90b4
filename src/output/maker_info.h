#pragma once
// The maker's name and web address, as printed reports and exported files
// name them. GBK bytes.
#include <string>

namespace vormek {

struct TMakerInfo {
  std::string Name;
  std::string WebAddress;
};

// The maker line of this program's reports.
TMakerInfo DefaultMakerInfo();

}  // namespace vormek
