#include "data/table_ranges.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "data/ascii_case.h"
#include "data/errors.h"
#include "data/gbk_bytes.h"

namespace vormek {

namespace {

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits only, at most maxDigits of them (so the value cannot overflow).
bool ReadDigits(std::string_view text, std::size_t maxDigits, std::int64_t& value) {
  if (!IsDigits(text) || text.size() > maxDigits) return false;
  value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return true;
}

// "", "0", "45" (minutes), "37:43", "14:9", "1:" (hours, no minutes).
bool IsElapsedTime(std::string_view text) {
  if (text.empty()) return true;
  std::int64_t v = 0;
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return ReadDigits(text, 6, v) && v <= kMaxElapsedMinutes;
  std::int64_t hours = 0;
  if (!ReadDigits(text.substr(0, colon), 4, hours)) return false;
  const std::string_view minutes = text.substr(colon + 1);
  return minutes.empty() || (ReadDigits(minutes, 2, v) && v <= 59);
}

// "", "7:05", "23:59": a clock time of one day.
bool IsClockTime(std::string_view text) {
  if (text.empty()) return true;
  const auto colon = text.find(':');
  std::int64_t hours = 0;
  std::int64_t minutes = 0;
  if (colon == std::string_view::npos || colon > 2) return false;
  const std::string_view after = text.substr(colon + 1);
  return ReadDigits(text.substr(0, colon), 2, hours) && hours <= 23 && after.size() == 2 &&
         ReadDigits(after, 2, minutes) && minutes <= 59;
}

// "143", "3.5": digits with an optional fraction, at most 100000.
bool IsAmount(std::string_view text) {
  const auto point = text.find('.');
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  if (!ReadDigits(text.substr(0, point), 6, whole)) return false;
  if (point != std::string_view::npos && !ReadDigits(text.substr(point + 1), 4, fraction)) return false;
  return whole < kMaxFareYuan || (whole == kMaxFareYuan && fraction == 0);
}

// "", "-", or one to three amounts joined by "/".
bool IsFareText(std::string_view text) {
  if (text.empty() || text == "-") return true;
  int parts = 0;
  for (;;) {
    const auto slash = text.find('/');
    if (++parts > 3 || !IsAmount(text.substr(0, slash))) return false;
    if (slash == std::string_view::npos) return true;
    text.remove_prefix(slash + 1);
  }
}

int FindColumn(const TMemTable& t, std::string_view name) {
  const auto& columns = t.Columns();
  for (std::size_t c = 0; c < columns.size(); ++c)
    if (EqualsIgnoringAsciiCase(columns[c].name, name)) return static_cast<int>(c);
  return -1;
}

// The text line of a record: the preamble, the definitions and the header
// come first.
int LineOf(const TMemTable& t, int record) {
  return static_cast<int>(t.Columns().size() + t.Indexes().size()) + 7 + record;
}

[[noreturn]] void Refuse(const TMemTable& t, int position, int column, const std::string& what) {
  const std::string& name = t.Columns()[static_cast<std::size_t>(column)].name;
  throw ETableFormatError(LineOf(t, position),
                          name + " \"" + std::string(t.ValueOfRecord(position, column)) + "\" " + what);
}

// The numbers are read whatever the text: an image carries its numbers apart
// from its texts. An empty value loads as 0, so a required column, whose
// range leaves out 0, needs its text read only to say why.
void CheckIntegers(const TMemTable& t, std::string_view name, std::int32_t low, std::int32_t high, bool required) {
  const int c = FindColumn(t, name);
  if (c < 0) return;
  for (int p = 0; p < t.RecordCount(); ++p) {
    const std::int32_t v = t.IntegerOfRecord(p, c);
    if (v >= low && v <= high) continue;
    if (required && t.ValueOfRecord(p, c).empty()) Refuse(t, p, c, "is empty");
    Refuse(t, p, c, "outside " + std::to_string(low) + ".." + std::to_string(high));
  }
}

template <typename Valid>
void CheckTexts(const TMemTable& t, std::string_view name, Valid valid, const std::string& what) {
  const int c = FindColumn(t, name);
  if (c < 0) return;
  for (int p = 0; p < t.RecordCount(); ++p)
    if (!valid(t.ValueOfRecord(p, c))) Refuse(t, p, c, what);
}

void CheckCommonRanges(const TMemTable& t) {
  for (const char* clock : {"A_Time", "D_Time"}) CheckTexts(t, clock, IsClockTime, "is not a clock time");
  CheckTexts(t, "R_Date", IsElapsedTime, "is not an elapsed time up to 9999:59");
  for (const char* fare : {"P1", "P2", "P3", "P4"})
    CheckTexts(t, fare, IsFareText, "is not a fare of amounts up to 100000");
}

// Along each train, in stop order, the distance never goes down.
void CheckDistancesRise(const TMemTable& t) {
  const int id = FindColumn(t, "ID");
  const int no = FindColumn(t, "S_No");
  const int km = FindColumn(t, "Distance");
  if (id < 0 || no < 0 || km < 0) return;
  std::vector<int> order(static_cast<std::size_t>(t.RecordCount()));
  std::iota(order.begin(), order.end(), 0);
  auto before = [&](int a, int b) {
    const int c = t.ValueOfRecord(a, id).compare(t.ValueOfRecord(b, id));
    return c != 0 ? c < 0 : t.IntegerOfRecord(a, no) < t.IntegerOfRecord(b, no);
  };
  // The stored tables already stand in stop order.
  if (!std::is_sorted(order.begin(), order.end(), before)) std::stable_sort(order.begin(), order.end(), before);
  for (std::size_t i = 1; i < order.size(); ++i) {
    const int a = order[i - 1];
    const int b = order[i];
    // A stop listed twice is the unique index's to refuse.
    if (t.ValueOfRecord(a, id) == t.ValueOfRecord(b, id) && t.IntegerOfRecord(a, no) != t.IntegerOfRecord(b, no) &&
        t.IntegerOfRecord(b, km) < t.IntegerOfRecord(a, km))
      Refuse(t, b, km, "is less than the " + std::to_string(t.IntegerOfRecord(a, km)) + " km of the stop before");
  }
}

}  // namespace

namespace {

// What the reader of the texts lets into a text column: whole GBK
// characters, no line break, at most size of them.
bool IsTextValue(std::string_view value, int size) {
  // Most values are short plain ASCII: one pass tells.
  if (std::all_of(value.begin(), value.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != '\r' && c != '\n'; }))
    return value.size() <= static_cast<std::size_t>(size);
  std::size_t chars = 0;
  for (std::size_t i = 0; i < value.size(); ++chars) {
    const std::size_t length = gbk::CharLength(value, i);
    if (length == 0 || value[i] == '\r' || value[i] == '\n') return false;
    i += length;
  }
  return chars <= static_cast<std::size_t>(size);
}

// A column's or an index's name as a definition line can write it: whole
// GBK characters, none of the definitions' separators or control bytes.
bool IsDefinitionName(std::string_view name) {
  return !name.empty() && IsTextValue(name, static_cast<int>(name.size())) &&
         std::none_of(name.begin(), name.end(), [](char c) {
           return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '=' || c == ',' || c == ';';
         });
}

}  // namespace

void CheckImageValues(const TMemTable& t) {
  const auto& columns = t.Columns();
  for (const TColumnDef& column : columns)
    if (!IsDefinitionName(column.name)) throw ETableFormatError(1, "a column's name cannot be written in a table text");
  for (const TIndexDef& index : t.Indexes())
    if (!IsDefinitionName(index.name)) throw ETableFormatError(1, "an index's name cannot be written in a table text");
  // Record by record, all values at once: one walk over the table.
  std::vector<std::string_view> values(columns.size());
  char plain[16];
  for (int p = 0; p < t.RecordCount(); ++p) {
    t.ValuesOfRecord(p, values);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string_view value = values[c];
      const int column = static_cast<int>(c);
      if (columns[c].type == TFieldType::WideString) {
        if (!IsTextValue(value, columns[c].size))
          Refuse(t, p, column, "is not a text of whole GBK characters within the column's size on one line");
        continue;
      }
      const std::int32_t number = t.IntegerOfRecord(p, column);
      const auto end = std::to_chars(plain, plain + sizeof plain, number).ptr;
      const bool same =
          value.empty() ? number == 0 : value == std::string_view(plain, static_cast<std::size_t>(end - plain));
      if (!same) Refuse(t, p, column, "disagrees with its number " + std::to_string(number));
    }
  }
}

void CheckTrainListNumbers(const TMemTable& KMList) { CheckIntegers(KMList, "Distance", 0, kMaxDistanceKm, false); }

void CheckStopTableNumbers(const TMemTable& KMTrain) {
  CheckIntegers(KMTrain, "S_No", 1, kMaxStopNo, true);
  CheckIntegers(KMTrain, "Distance", 0, kMaxDistanceKm, false);
}

void CheckTrainListRanges(const TMemTable& KMList) {
  CheckTrainListNumbers(KMList);
  CheckCommonRanges(KMList);
}

void CheckStopTableRanges(const TMemTable& KMTrain) {
  CheckStopTableNumbers(KMTrain);
  CheckCommonRanges(KMTrain);
  CheckDistancesRise(KMTrain);
}

}  // namespace vormek
