// Elapsed-time texts ("37:43", "21:2", "33", "0") and the speeds built on them.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/errors.h"
#include "rules/UPub_Center.h"
#include "rules/number_text.h"

namespace vormek {

namespace {

// One part of an elapsed time for the journey-time column: empty reads as 0,
// anything else must be decimal.
std::int64_t StrictPart(std::string_view part, std::string_view whole) {
  if (part.empty()) return 0;
  auto value = ReadInteger(part);
  // Beyond 32 bits is no more a number of the tables than letters are.
  if (!value || *value != ClampToInt32(*value))
    throw EConvertError("'" + std::string(whole) + "' is not a valid elapsed time");
  return *value;
}

std::int64_t StrictMinutes(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return StrictPart(text, text);
  const std::int64_t hours = StrictPart(text.substr(0, colon), text);
  // Only the first two characters after the colon count: "1:234" is 1 h 23 min.
  const std::int64_t minutes = StrictPart(text.substr(colon + 1, 2), text);
  return hours * 60 + minutes;
}

void AppendTwoDigits(std::string& out, std::int64_t n) {
  if (n < 10) out += '0';
  out += std::to_string(n);
}

std::string SpeedText(double km, std::int32_t minutes) { return std::to_string(RoundHalfUp(km * 60.0 / minutes)); }

}  // namespace

std::int32_t RoundHalfUp(double x) {
  if (std::isnan(x)) return 0;
  const double t = std::trunc(x);
  if (t >= 2147483647.0) return ClampToInt32(INT64_MAX);
  if (t <= -2147483648.0) return ClampToInt32(INT64_MIN);
  const std::int64_t whole = static_cast<std::int64_t>(t);
  return ClampToInt32(x - t >= 0.5 ? whole + 1 : whole);
}

std::int32_t DurationToMinutes(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return IntegerOrZero(text);
  // Hours and minutes fail independently: "x:30" is 30, "2:xx" is 120.
  const std::int64_t hours = IntegerOrZero(text.substr(0, colon));
  const std::int64_t minutes = IntegerOrZero(text.substr(colon + 1));
  return ClampToInt32(hours * 60 + minutes);
}

std::string MinutesToDuration(std::int32_t minutes) {
  const std::int32_t h = minutes / 60;
  const std::int32_t m = minutes - 60 * h;
  return std::to_string(h) + ":" + std::to_string(m);
}

std::string ElapsedDifference(std::string_view earlier, std::string_view later) {
  if (earlier == later) return "0";
  std::int64_t d = StrictMinutes(later) - StrictMinutes(earlier);
  std::string out;
  // A later time before the earlier one never comes from the tables; show it
  // as a signed span rather than a garbled one.
  if (d < 0) {
    out += '-';
    d = -d;
  }
  const std::int64_t h = d / 60;
  const std::int64_t m = d - 60 * h;
  AppendTwoDigits(out, h);
  out += ':';
  AppendTwoDigits(out, m);
  return out;
}

std::string AverageSpeed(std::string_view kmText, std::string_view durationText) {
  const std::int32_t km = IntegerOrZero(kmText);
  const std::int32_t minutes = DurationToMinutes(durationText);
  if (km > 0 && minutes > 0) return SpeedText(km, minutes);
  return {};
}

std::string LegSpeed(std::string_view prevKmText, std::string_view kmText, std::string_view prevElapsedText,
                     std::string_view elapsedText) {
  const std::int64_t dk = static_cast<std::int64_t>(IntegerOrZero(kmText)) - IntegerOrZero(prevKmText);
  const std::int64_t dm =
      static_cast<std::int64_t>(DurationToMinutes(elapsedText)) - DurationToMinutes(prevElapsedText);
  if (dk > 0 && dm > 0) return SpeedText(static_cast<double>(dk), ClampToInt32(dm));
  return {};
}

}  // namespace vormek
