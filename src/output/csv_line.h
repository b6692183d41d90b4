#pragma once
// One line of comma-separated values as RFC 4180 has them: a field holding
// a comma, a double quote, CR or LF is enclosed in double quotes, its quotes
// doubled; every other field is written exactly as it is. Serves the window's
// export and the query tool alike.
//
// The bytes tested are ASCII, so the fields may be GBK: a GBK trail byte is
// 0x40 or above and never reads as one of them.
#include <string>
#include <string_view>
#include <vector>

namespace vormek {

// Appends the field, quoted when it needs to be.
void AppendCsvField(std::string& out, std::string_view field);

// Appends the fields joined by "," and then the line end.
void AppendCsvLine(std::string& out, const std::vector<std::string>& fields, std::string_view lineEnd);

}  // namespace vormek
