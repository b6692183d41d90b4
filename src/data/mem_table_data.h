#pragma once
// The storage of a TMemTable, shared by the files that make it up: the
// parser (mem_table_parse.cpp), the cursor and indexes (mem_table.cpp) and
// the image reader and writer (mem_table_image.cpp). Not for other users.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "data/ascii_case.h"
#include "data/mem_table.h"

namespace vormek {

// A text column holds at most this many characters, so that the bytes of
// any value fit the 16-bit lengths below.
inline constexpr int kMaxTextColumnSize = 32767;

// The timetable's tables have at most 12 columns and 3 indexes of 2 columns;
// far more is a damaged or hostile text, refused before it costs time.
inline constexpr std::size_t kMaxColumns = 256;
inline constexpr std::size_t kMaxIndexes = 64;
inline constexpr std::size_t kMaxIndexColumns = 16;

// Strict decimal: optional '-', at least one digit, nothing else, in range.
inline bool ParseStrictInteger(std::string_view text, std::int64_t low, std::int64_t high, std::int32_t& value) {
  if (text.empty()) return false;
  std::size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > std::int64_t{1} << 32) return false;
  }
  const std::int64_t v = text[0] == '-' ? -magnitude : magnitude;
  if (v < low || v > high) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

// Sort key of an integer value: a null sorts before every number.
struct TIntKey {
  bool present;
  std::int32_t value;
  auto operator<=>(const TIntKey&) const = default;
};

// Everything a loaded table holds; TMemTable::Impl is this under another name
// so that the loading helpers can work on it.
struct TTableData {
  std::vector<TColumnDef> columns;
  std::vector<TIndexDef> indexes;
  std::vector<int> intSlot;  // per column: slot in ints, -1 for text columns
  int intColumns = 0;
  int recordCount = 0;
  // Lower-cased names seen while loading, for the duplicate checks.
  std::unordered_set<std::string> columnNames;
  std::unordered_set<std::string> indexNames;
  // While loading, the values are moved to the front of the owned text, one
  // after the other without quotes or commas, and the text is cut there. A
  // record keeps one offset and one byte per value: value c runs from
  // base + rel[c] to base + rel[c + 1]. A record whose values take more than
  // 255 bytes has the flag in its base and its values in the wide arrays
  // instead. The stop table so takes about 16 bytes a record instead of 6 a
  // value, and its text shrinks by the 3 bytes of every value's quoting.
  static constexpr std::uint32_t kWideRecord = 0x80000000u;
  static_assert(kMaxTableTextBytes < kWideRecord, "offsets must leave the flag bit free");
  //
  // A table read from text owns these arrays; one opened from a timetable
  // image views them there, and keeps the image alive.
  struct TOwned {
    std::string text;  // the table text, its values moved to the front
    std::vector<std::uint32_t> base;
    std::vector<std::uint8_t> rel;
    std::vector<std::uint32_t> wideOffsets;
    std::vector<std::uint16_t> wideLengths;
    std::vector<std::int32_t> ints;
    std::vector<std::int32_t> order;
  } own;
  std::shared_ptr<const void> image;
  std::string_view text;
  std::span<const std::uint32_t> base;         // per record
  std::span<const std::uint8_t> rel;           // recordCount x (columns + 1)
  std::span<const std::uint32_t> wideOffsets;  // wide records x columns
  std::span<const std::uint16_t> wideLengths;
  std::span<const std::int32_t> ints;  // recordCount x intColumns, parsed once
  // Position in the current order -> record; empty while that is text order
  // (a table stored in index order needs no permutation).
  std::span<const std::int32_t> order;
  int currentIndex = -1;
  std::string indexName;
  int pos = -1;
  bool eof = true;
  bool bof = true;

  int ColumnCount() const { return static_cast<int>(columns.size()); }

  std::string_view Value(int record, int column) const {
    const std::uint32_t b = base[static_cast<std::size_t>(record)];
    if ((b & kWideRecord) != 0) {
      const std::size_t i =
          static_cast<std::size_t>(b & ~kWideRecord) * columns.size() + static_cast<std::size_t>(column);
      return {text.data() + wideOffsets[i], wideLengths[i]};
    }
    const std::uint8_t* r =
        rel.data() + static_cast<std::size_t>(record) * (columns.size() + 1) + static_cast<std::size_t>(column);
    return {text.data() + b + r[0], static_cast<std::size_t>(r[1] - r[0])};
  }

  int RecordAt(int position) const { return order.empty() ? position : order[static_cast<std::size_t>(position)]; }

  std::int32_t Integer(int record, int column) const {
    const int slot = intSlot[static_cast<std::size_t>(column)];
    if (slot >= 0)
      return ints[static_cast<std::size_t>(record) * static_cast<std::size_t>(intColumns) +
                  static_cast<std::size_t>(slot)];
    std::int32_t v = 0;
    return ParseStrictInteger(Value(record, column), INT32_MIN, INT32_MAX, v) ? v : 0;
  }

  TIntKey IntKey(int record, int column) const { return {!Value(record, column).empty(), Integer(record, column)}; }

  int CompareRecords(int a, int b, const TIndexDef& index) const {
    for (int column : index.columns) {
      if (intSlot[static_cast<std::size_t>(column)] >= 0) {
        const auto c = IntKey(a, column) <=> IntKey(b, column);
        if (c != 0) return c < 0 ? -1 : 1;
      } else {
        const int c = Value(a, column).compare(Value(b, column));
        if (c != 0) return c < 0 ? -1 : 1;
      }
    }
    return 0;
  }

  // The views over what this table owns, once it is read.
  void ViewOwned() {
    text = own.text;
    base = own.base;
    rel = own.rel;
    wideOffsets = own.wideOffsets;
    wideLengths = own.wideLengths;
    ints = own.ints;
    order = own.order;
  }

  void ResetOrder() {
    own.order.clear();
    own.order.shrink_to_fit();
    order = {};
  }

  void ToFirst() {
    pos = recordCount > 0 ? 0 : -1;
    bof = true;
    eof = recordCount == 0;
  }

  int FindColumn(std::string_view name) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (EqualsIgnoringAsciiCase(columns[i].name, name)) return static_cast<int>(i);
    return -1;
  }
};

struct TMemTable::Impl : TTableData {};

// What a table never loaded reads as.
inline const TTableData& EmptyImpl() {
  static const TTableData empty;
  return empty;
}

// Reads the text into t, keeping the buffer as its storage. Throws
// ETableFormatError naming the line; t is then not to be used.
void LoadTableText(std::string source, TTableData& t);

}  // namespace vormek
