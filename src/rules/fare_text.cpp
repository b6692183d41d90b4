// Fare texts: "-", empty, "143", "3.5", "280/291/303", "469/492".
#include <string_view>

#include "rules/UPub_Center.h"
#include "rules/number_text.h"

namespace vormek {

namespace {

constexpr std::size_t kPartWidth = 30;  // longest text taken after a "/"

std::string_view AfterSlash(std::string_view text, std::size_t slash) { return text.substr(slash + 1, kPartWidth); }

}  // namespace

double ParseFare(std::string_view text, int part) {
  if (text.empty() || text == "-") return 0;
  const auto slash = text.find('/');
  switch (part) {
    case 0: return DecimalOrZero(text);
    case 1:
      if (slash == std::string_view::npos) return 0;
      return DecimalOrZero(text.substr(0, slash));
    case 2: {
      if (slash == std::string_view::npos) return 0;
      std::string_view rest = AfterSlash(text, slash);
      return DecimalOrZero(rest.substr(0, rest.find('/')));
    }
    case 3: {
      if (slash == std::string_view::npos) return 0;
      std::string_view rest = AfterSlash(text, slash);
      // With two numbers the second is also the last.
      const auto next = rest.find('/');
      if (next != std::string_view::npos) rest = AfterSlash(rest, next);
      return DecimalOrZero(rest);
    }
    default: return 0;
  }
}

}  // namespace vormek
