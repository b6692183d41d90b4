#pragma once
// Reading and writing the decimal texts of the timetable. Independent of the
// C locale: the tables always use "." as decimal point, whatever the desktop
// says.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vormek {

// The whole text as a decimal integer (optional leading '-' or '+'), or
// nothing when any character is not part of one or the value does not fit.
std::optional<std::int64_t> ReadInteger(std::string_view text);
// ReadInteger, or 0; values beyond 32 bits count as not reading.
std::int32_t IntegerOrZero(std::string_view text);
// The whole text as a finite decimal number with "." as point, or nothing.
std::optional<double> ReadDecimal(std::string_view text);
double DecimalOrZero(std::string_view text);

// Shortest decimal text of an amount: 37 -> "37", 5.5 -> "5.5".
std::string FormatAmount(double value);

// A 64-bit minute count brought back into the 32-bit range.
std::int32_t ClampToInt32(std::int64_t value);

}  // namespace vormek
