#include "data/mem_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <exception>
#include <memory>
#include <numeric>
#include <span>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <utility>

#include "data/ascii_case.h"
#include "data/errors.h"
#include "data/image_io.h"
#include "data/table_text_reader.h"

namespace vormek {

namespace {

constexpr std::string_view kVersionMarker = "@@FILE VERSION@@";
constexpr std::string_view kVersion = "251";
constexpr std::string_view kTableDefStart = "@@TABLEDEF START@@";
constexpr std::string_view kIndexDefStart = "@@INDEXDEF START@@";
constexpr std::string_view kIndexDefEnd = "@@INDEXDEF END@@";
constexpr std::string_view kTableDefEnd = "@@TABLEDEF END@@";

// A text column holds at most this many characters, so that the bytes of
// any value fit the 16-bit lengths below.
constexpr int kMaxTextColumnSize = 32767;

// The timetable's tables have at most 12 columns and 3 indexes of 2 columns;
// far more is a damaged or hostile text, refused before it costs time.
constexpr std::size_t kMaxColumns = 256;
constexpr std::size_t kMaxIndexes = 64;
constexpr std::size_t kMaxIndexColumns = 16;
// Every value takes at least three bytes of text: two quotes and a comma.
constexpr std::size_t kMinValueBytes = 3;

// Strict decimal: optional '-', at least one digit, nothing else, in range.
bool ParseStrictInteger(std::string_view text, std::int64_t low, std::int64_t high, std::int32_t& value) {
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

}  // namespace

// Everything a loaded table holds; TMemTable::Impl is this under another name
// so that the loading helpers below can work on it.
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

namespace {

const TTableData& EmptyImpl() {
  static const TTableData empty;
  return empty;
}

std::string_view SingleFieldLine(TTableTextReader& reader, std::string_view expected) {
  if (!reader.ReadLine())
    throw ETableFormatError(reader.Line() + 1, "text ends before \"" + std::string(expected) + "\"");
  auto& fields = reader.MutableFields();
  if (fields.size() != 1 || reader.TrailingComma()) reader.Fail("expected one quoted field");
  return reader.Text(fields[0]);
}

void ExpectMarker(TTableTextReader& reader, std::string_view marker) {
  if (SingleFieldLine(reader, marker) != marker) reader.Fail("expected \"" + std::string(marker) + "\"");
}

// "ID=WideString,35,""ID"","""",35,Data,""""" as read: ID=WideString,35,"ID","",35,Data,""
void ParseColumnDef(std::string_view def, TTableTextReader& reader, TTableData& t) {
  const std::size_t eq = def.find('=');
  if (eq == std::string_view::npos || eq == 0) reader.Fail("column definition without a name");
  TColumnDef column;
  column.name = std::string(def.substr(0, eq));
  std::string_view rest = def.substr(eq + 1);
  const std::size_t typeEnd = rest.find(',');
  const std::string_view typeName = rest.substr(0, typeEnd);
  if (typeName == "WideString")
    column.type = TFieldType::WideString;
  else if (typeName == "SmallInt")
    column.type = TFieldType::SmallInt;
  else if (typeName == "Integer")
    column.type = TFieldType::Integer;
  else
    reader.Fail("unknown type name \"" + std::string(typeName) + "\"");
  if (typeEnd == std::string_view::npos) reader.Fail("column definition without a size");
  rest = rest.substr(typeEnd + 1);
  const std::string_view sizeText = rest.substr(0, rest.find(','));
  std::int32_t size = 0;
  if (!ParseStrictInteger(sizeText, 0, INT32_MAX, size)) reader.Fail("column size is not a number");
  if (size > kMaxTextColumnSize) reader.Fail("column size above " + std::to_string(kMaxTextColumnSize));
  if (column.type == TFieldType::WideString && size == 0) reader.Fail("text column of size 0");
  column.size = size;
  if (t.columns.size() >= kMaxColumns) reader.Fail("more than " + std::to_string(kMaxColumns) + " columns");
  if (!t.columnNames.insert(LowerAscii(column.name)).second)
    reader.Fail("column \"" + column.name + "\" defined twice");
  t.columns.push_back(std::move(column));
}

// Reads a quoted text at the start of rest and moves rest past it.
std::string_view TakeQuoted(std::string_view& rest, TTableTextReader& reader) {
  if (rest.empty() || rest[0] != '"') reader.Fail("index definition lacks a quoted part");
  const std::size_t close = rest.find('"', 1);
  if (close == std::string_view::npos) reader.Fail("index definition has an unclosed quote");
  const std::string_view inner = rest.substr(1, close - 1);
  rest = rest.substr(close + 1);
  return inner;
}

// SIDNo="ID;S_No","SIDNo",UNIQ
void ParseIndexDef(std::string_view def, TTableTextReader& reader, TTableData& t) {
  const std::size_t eq = def.find('=');
  if (eq == std::string_view::npos || eq == 0) reader.Fail("index definition without a name");
  TIndexDef index;
  index.name = std::string(def.substr(0, eq));
  std::string_view rest = def.substr(eq + 1);
  std::string_view list = TakeQuoted(rest, reader);
  if (rest.empty() || rest[0] != ',') reader.Fail("index definition lacks its display name");
  rest.remove_prefix(1);
  TakeQuoted(rest, reader);
  while (!rest.empty()) {
    if (rest[0] != ',') reader.Fail("junk in index definition");
    rest.remove_prefix(1);
    const std::string_view option = rest.substr(0, rest.find(','));
    if (option != "UNIQ") reader.Fail("unknown index option \"" + std::string(option) + "\"");
    index.unique = true;
    rest.remove_prefix(option.size());
  }
  if (t.indexes.size() >= kMaxIndexes) reader.Fail("more than " + std::to_string(kMaxIndexes) + " indexes");
  for (;;) {
    if (index.columns.size() >= kMaxIndexColumns)
      reader.Fail("index \"" + index.name + "\" has more than " + std::to_string(kMaxIndexColumns) + " columns");
    const std::size_t semi = list.find(';');
    const std::string_view name = list.substr(0, semi);
    const int column = t.FindColumn(name);
    if (column < 0) reader.Fail("index \"" + index.name + "\" names unknown column \"" + std::string(name) + "\"");
    index.columns.push_back(column);
    if (semi == std::string_view::npos) break;
    list.remove_prefix(semi + 1);
  }
  if (!t.indexNames.insert(LowerAscii(index.name)).second) reader.Fail("index \"" + index.name + "\" defined twice");
  t.indexes.push_back(std::move(index));
}

void ReadHeader(TTableTextReader& reader, TTableData& t) {
  if (!reader.ReadLine()) throw ETableFormatError(reader.Line() + 1, "text ends before the header row");
  auto& fields = reader.MutableFields();
  if (static_cast<int>(fields.size()) != t.ColumnCount())
    reader.Fail("header has " + std::to_string(fields.size()) + " fields for " + std::to_string(t.ColumnCount()) +
                " columns");
  if (!reader.TrailingComma()) reader.Fail("header row lacks its trailing comma");
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!EqualsIgnoringAsciiCase(reader.Text(fields[i]), t.columns[i].name))
      reader.Fail("header names \"" + std::string(reader.Text(fields[i])) + "\" where column \"" + t.columns[i].name +
                  "\" is defined");
  }
}

// An integer written with leading zeros or as -0 is stored in its plain form,
// so that the text of a value always matches its number.
void StoreCanonical(char* where, TRawField& field, std::int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  const auto length = static_cast<std::size_t>(result.ptr - buffer);
  if (length == field.length) return;
  std::copy(buffer, result.ptr, where);
  field.length = length;
}

// Line ends in [begin, end), eight bytes at a time: a byte equal to LF
// becomes zero under the xor, and the sum below sets the top bit of every
// byte that is not zero, exactly.
std::size_t CountLineEnds(const char* begin, const char* end) {
  constexpr std::uint64_t kLf = 0x0A0A0A0A0A0A0A0Aull;
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  std::size_t count = 0;
  for (; end - begin >= 8; begin += 8) {
    std::uint64_t word;
    std::memcpy(&word, begin, 8);
    const std::uint64_t x = word ^ kLf;
    count += static_cast<std::size_t>(__builtin_popcountll(~(((x & kLow7) + kLow7) | x | kLow7)));
  }
  for (; begin < end; ++begin) count += *begin == '\n';
  return count;
}

// Room, once, for the rows of a part of the text holding this many line ends
// and bytes: at most one row per line, and never more values than the bytes
// could hold, so that a damaged text reserves no more than its size allows.
void ReserveRows(std::size_t lines, std::size_t bytes, TTableData& t) {
  const std::size_t rows = std::min(lines, bytes / (kMinValueBytes * t.columns.size()) + 1);
  t.own.base.reserve(rows);
  t.own.rel.reserve(rows * (t.columns.size() + 1));
  t.own.ints.reserve(rows * static_cast<std::size_t>(t.intColumns));
}

// Moves the values of the record just read to the write position (never
// after the line they stand on) and keeps where they now lie: compact when
// they take at most 255 bytes, else in the wide arrays.
void StoreRecord(const std::vector<TRawField>& fields, char* data, std::size_t& write, TTableData& t) {
  const std::size_t first = write;
  for (const TRawField& field : fields) {
    std::memmove(data + write, data + field.begin, field.length);
    write += field.length;
  }
  if (write - first <= 0xFF) {
    t.own.base.push_back(static_cast<std::uint32_t>(first));
    std::size_t at = 0;
    for (const TRawField& field : fields) {
      t.own.rel.push_back(static_cast<std::uint8_t>(at));
      at += field.length;
    }
    t.own.rel.push_back(static_cast<std::uint8_t>(at));
    return;
  }
  t.own.base.push_back(static_cast<std::uint32_t>(t.own.wideOffsets.size() / fields.size()) | TTableData::kWideRecord);
  std::size_t at = first;
  for (const TRawField& field : fields) {
    t.own.wideOffsets.push_back(static_cast<std::uint32_t>(at));
    t.own.wideLengths.push_back(static_cast<std::uint16_t>(field.length));
    at += field.length;
  }
  t.own.rel.insert(t.own.rel.end(), fields.size() + 1, 0);
}

// Hands back to the system the whole pages of [from, to) inside the text's
// buffer: bytes already moved away, never read again. Only for large texts,
// whose buffers have pages of their own.
void ReleasePages(char* data, std::size_t from, std::size_t to) {
  constexpr std::size_t kPage = 4096;
  const auto start = (reinterpret_cast<std::uintptr_t>(data + from) + kPage - 1) & ~std::uintptr_t{kPage - 1};
  const auto end = reinterpret_cast<std::uintptr_t>(data + to) & ~std::uintptr_t{kPage - 1};
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
}

// Pages go back in steps of 1 MiB, and only for texts of 16 MiB or more:
// below that, faulting the pages in again as the values move over them costs
// more time than the memory is worth.
constexpr std::size_t kReleaseStep = std::size_t{1} << 20;
constexpr std::size_t kReleaseFrom = std::size_t{16} << 20;

// Reads the reader's rows into t, moving their values to write onwards
// (never past the row being read); returns where the values end. With
// release, the pages behind the reading up to end go back as it passes them.
std::size_t ReadRecords(TTableTextReader& reader, char* data, std::size_t write, std::size_t end, bool release,
                        TTableData& t) {
  const auto columnCount = static_cast<std::size_t>(t.ColumnCount());
  std::size_t released = write;
  while (reader.ReadLine()) {
    auto& fields = reader.MutableFields();
    if (fields.size() != columnCount)
      reader.Fail("row has " + std::to_string(fields.size()) + " fields for " + std::to_string(columnCount) +
                  " columns");
    if (!reader.TrailingComma()) reader.Fail("row lacks its trailing comma");
    if (t.recordCount == INT32_MAX) reader.Fail("too many rows");
    for (std::size_t c = 0; c < columnCount; ++c) {
      TRawField& field = fields[c];
      const TColumnDef& column = t.columns[c];
      if (column.type == TFieldType::WideString) {
        if (field.chars > static_cast<std::size_t>(column.size))
          reader.Fail("value of " + column.name + " is longer than " + std::to_string(column.size) + " characters");
        reader.Text(field);
      } else if (field.length == 0) {
        t.own.ints.push_back(0);  // null
      } else {
        std::int32_t value = 0;
        const bool small = column.type == TFieldType::SmallInt;
        const std::string_view raw =
            field.escaped ? std::string_view() : std::string_view(data + field.begin, field.length);
        if (!ParseStrictInteger(raw, small ? INT16_MIN : INT32_MIN, small ? INT16_MAX : INT32_MAX, value))
          reader.Fail("column " + column.name + " holds \"" + std::string(reader.Text(field)) + "\", not an integer");
        StoreCanonical(data + field.begin, field, value);
        t.own.ints.push_back(value);
      }
    }
    const std::size_t lineStart = fields.front().begin - 1;
    StoreRecord(fields, data, write, t);
    ++t.recordCount;
    if (release && lineStart - std::max(write, released) >= kReleaseStep) {
      ReleasePages(data, std::max(write, released), lineStart);
      released = lineStart;
    }
  }
  if (release) ReleasePages(data, write, end);
  return write;
}

// Stop tables are parsed in two halves, one on another thread, from this
// size on; below it a thread costs more than it saves.
constexpr std::size_t kTwoThreadsFrom = std::size_t{2} << 20;

// Reads the rows of [begin, end) of a large text in two halves at once: the
// first on this thread into t, the second on another into a copy of t's
// definitions, whose values then follow the first half's. The first half's
// error wins, as a reading from the top would meet it first.
std::size_t ReadRecordsInHalves(char* data, std::size_t begin, std::size_t end, int linesBefore, bool release,
                                TTableData& t) {
  const auto* middle =
      static_cast<const char*>(std::memchr(data + begin + (end - begin) / 2, '\n', end - begin - (end - begin) / 2));
  const std::size_t split = middle == nullptr ? end : static_cast<std::size_t>(middle - data) + 1;
  const std::size_t linesInFirst = CountLineEnds(data + begin, data + split);
  const std::size_t linesInSecond = CountLineEnds(data + split, data + end);
  // t has room for both halves, so that the second joins it without a copy.
  ReserveRows(linesInFirst + linesInSecond, end - begin, t);
  TTableData second;
  second.columns = t.columns;
  second.intSlot = t.intSlot;
  second.intColumns = t.intColumns;
  ReserveRows(linesInSecond, end - split, second);
  std::size_t secondEnd = split;
  std::exception_ptr secondError;
  auto readSecond = [&] {
    try {
      TTableTextReader reader(data, split, end, linesBefore + static_cast<int>(linesInFirst));
      reader.LimitFields(t.columns.size() + 1);
      secondEnd = ReadRecords(reader, data, split, end, release, second);
    } catch (...) {
      secondError = std::current_exception();
    }
  };
  std::thread other;
  try {
    other = std::thread(readSecond);
  } catch (const std::system_error&) {
    // No thread to be had: the second half is read after the first.
  }
  std::size_t firstEnd = 0;
  try {
    TTableTextReader reader(data, begin, split, linesBefore);
    reader.LimitFields(t.columns.size() + 1);
    firstEnd = ReadRecords(reader, data, 0, split, release, t);
  } catch (...) {
    if (other.joinable()) other.join();
    throw;
  }
  if (other.joinable())
    other.join();
  else
    readSecond();
  if (secondError) std::rethrow_exception(secondError);
  if (static_cast<std::int64_t>(t.recordCount) + second.recordCount > INT32_MAX)
    throw ETableFormatError(linesBefore + static_cast<int>(linesInFirst) + 1, "too many rows");
  // The second half's values move down to follow the first's.
  std::memmove(data + firstEnd, data + split, secondEnd - split);
  const auto shift = static_cast<std::uint32_t>(split - firstEnd);
  const auto wideBefore = static_cast<std::uint32_t>(t.own.wideOffsets.size() / t.columns.size());
  for (const std::uint32_t b : second.own.base)
    t.own.base.push_back((b & TTableData::kWideRecord) != 0 ? (b + wideBefore) : b - shift);
  for (const std::uint32_t offset : second.own.wideOffsets) t.own.wideOffsets.push_back(offset - shift);
  t.own.wideLengths.insert(t.own.wideLengths.end(), second.own.wideLengths.begin(), second.own.wideLengths.end());
  t.own.rel.insert(t.own.rel.end(), second.own.rel.begin(), second.own.rel.end());
  t.own.ints.insert(t.own.ints.end(), second.own.ints.begin(), second.own.ints.end());
  t.recordCount += second.recordCount;
  const std::size_t written = firstEnd + (secondEnd - split);
  if (release) ReleasePages(data, written, secondEnd);
  return written;
}

void Load(std::string source, TTableData& t) {
  if (source.size() > kMaxTableTextBytes) throw ETableFormatError(1, "text too large");
  t.own.text = std::move(source);
  char* data = t.own.text.data();
  TTableTextReader reader(data, t.own.text.size());
  reader.LimitFields(kMaxColumns + 1);

  if (!reader.ReadLine()) throw ETableFormatError(1, "empty text");
  {
    auto& fields = reader.MutableFields();
    if (fields.size() != 2 || reader.TrailingComma() || reader.Text(fields[0]) != kVersionMarker)
      reader.Fail("expected the version line");
    if (reader.Text(fields[1]) != kVersion)
      reader.Fail("unsupported format version \"" + std::string(reader.Text(fields[1])) + "\"");
  }
  ExpectMarker(reader, kTableDefStart);
  for (;;) {
    const std::string_view def = SingleFieldLine(reader, kIndexDefStart);
    if (def == kIndexDefStart) break;
    ParseColumnDef(def, reader, t);
  }
  if (t.columns.empty()) reader.Fail("table defines no columns");
  for (;;) {
    const std::string_view def = SingleFieldLine(reader, kIndexDefEnd);
    if (def == kIndexDefEnd) break;
    ParseIndexDef(def, reader, t);
  }
  ExpectMarker(reader, kTableDefEnd);

  t.intSlot.assign(t.columns.size(), -1);
  for (std::size_t c = 0; c < t.columns.size(); ++c)
    if (t.columns[c].type != TFieldType::WideString) t.intSlot[c] = t.intColumns++;

  // One field more than the columns still reads, so the message can say
  // how many a row has.
  reader.LimitFields(t.columns.size() + 1);
  ReadHeader(reader, t);
  t.columnNames.clear();
  t.indexNames.clear();
  const bool halves = t.own.text.size() >= kTwoThreadsFrom;
  if (!halves) ReserveRows(CountLineEnds(data, data + t.own.text.size()), t.own.text.size(), t);
  const bool release = t.own.text.size() >= kReleaseFrom;
  // The definitions and the header before the rows are read already: the
  // values may move over them.
  const std::size_t written =
      halves ? ReadRecordsInHalves(data, reader.Position(), t.own.text.size(), reader.Line(), release, t)
             : ReadRecords(reader, data, 0, t.own.text.size(), release, t);
  t.own.text.resize(written);
  t.ResetOrder();
  t.ViewOwned();
  t.ToFirst();
}

}  // namespace

// TField

std::string_view TField::AsString() const {
  if (table_ == nullptr) throw ETableError("field is not bound to a table");
  const TTableData& t = table_->impl_ ? static_cast<const TTableData&>(*table_->impl_) : EmptyImpl();
  if (column_ < 0 || column_ >= t.ColumnCount()) throw ETableError("field no longer belongs to its table");
  if (t.pos < 0) return {};
  return t.Value(t.RecordAt(t.pos), column_);
}

std::int32_t TField::AsInteger() const {
  if (table_ == nullptr) throw ETableError("field is not bound to a table");
  const TTableData& t = table_->impl_ ? static_cast<const TTableData&>(*table_->impl_) : EmptyImpl();
  if (column_ < 0 || column_ >= t.ColumnCount()) throw ETableError("field no longer belongs to its table");
  if (t.pos < 0) return 0;
  return t.Integer(t.RecordAt(t.pos), column_);
}

std::string_view TField::FieldName() const {
  if (table_ == nullptr) throw ETableError("field is not bound to a table");
  const TTableData& t = table_->impl_ ? static_cast<const TTableData&>(*table_->impl_) : EmptyImpl();
  if (column_ < 0 || column_ >= t.ColumnCount()) throw ETableError("field no longer belongs to its table");
  return t.columns[static_cast<std::size_t>(column_)].name;
}

// TMemTable

TMemTable::TMemTable() : impl_(std::make_unique<Impl>()) {}
TMemTable::~TMemTable() = default;
TMemTable::TMemTable(TMemTable&&) noexcept = default;
TMemTable& TMemTable::operator=(TMemTable&&) noexcept = default;

void TMemTable::LoadFromText(std::string_view text) { LoadFromOwnedText(std::string(text)); }

void TMemTable::LoadFromOwnedText(std::string text) {
  auto fresh = std::make_unique<Impl>();
  try {
    Load(std::move(text), static_cast<TTableData&>(*fresh));
  } catch (...) {
    impl_ = std::make_unique<Impl>();
    throw;
  }
  impl_ = std::move(fresh);
}

void TMemTable::SetIndexName(std::string_view name) {
  if (!impl_) impl_ = std::make_unique<Impl>();
  TTableData& t = *impl_;
  if (name.empty()) {
    t.currentIndex = -1;
    t.indexName.clear();
    t.ResetOrder();
    t.ToFirst();
    return;
  }
  int found = -1;
  for (std::size_t i = 0; i < t.indexes.size(); ++i)
    if (EqualsIgnoringAsciiCase(t.indexes[i].name, name)) found = static_cast<int>(i);
  if (found < 0) throw ETableError("no index named \"" + std::string(name) + "\"");
  const TIndexDef& index = t.indexes[static_cast<std::size_t>(found)];
  // Tables usually arrive already in index order; then one pass over the text
  // order checks both the order and, for a unique index, that no key occurs
  // twice, and no permutation is kept.
  bool sorted = true;
  bool duplicate = false;
  for (int i = 1; i < t.recordCount && sorted; ++i) {
    const int c = t.CompareRecords(i - 1, i, index);
    sorted = c <= 0;
    duplicate = duplicate || c == 0;
  }
  std::vector<std::int32_t> order;
  if (!sorted) {
    order.resize(static_cast<std::size_t>(t.recordCount));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&t, &index](std::int32_t a, std::int32_t b) { return t.CompareRecords(a, b, index) < 0; });
    duplicate = false;
    for (std::size_t i = 1; i < order.size() && !duplicate; ++i)
      duplicate = t.CompareRecords(order[i - 1], order[i], index) == 0;
  }
  // Two records under one key of a unique index is damaged data; refuse it
  // rather than answer look-ups with an arbitrary one of them.
  if (index.unique && duplicate) throw ETableError("unique index \"" + index.name + "\" has a key twice");
  t.own.order = std::move(order);
  t.order = t.own.order;
  t.currentIndex = found;
  t.indexName = index.name;
  t.ToFirst();
}

const std::string& TMemTable::IndexName() const { return impl_ ? impl_->indexName : EmptyImpl().indexName; }

void TMemTable::First() {
  if (impl_) impl_->ToFirst();
}

void TMemTable::Last() {
  if (!impl_) return;
  TTableData& t = *impl_;
  t.pos = t.recordCount - 1;
  t.eof = true;
  t.bof = t.recordCount == 0;
}

void TMemTable::Next() {
  if (!impl_) return;
  TTableData& t = *impl_;
  if (t.recordCount == 0) return;
  t.bof = false;
  if (t.pos + 1 < t.recordCount) {
    ++t.pos;
    t.eof = false;
  } else {
    t.eof = true;
  }
}

void TMemTable::Prior() {
  if (!impl_) return;
  TTableData& t = *impl_;
  if (t.recordCount == 0) return;
  t.eof = false;
  if (t.pos > 0) {
    --t.pos;
    t.bof = false;
  } else {
    t.bof = true;
  }
}

bool TMemTable::Eof() const { return impl_ ? impl_->eof : true; }
bool TMemTable::Bof() const { return impl_ ? impl_->bof : true; }

bool TMemTable::Locate(std::string_view column, std::string_view value) {
  const int c = FieldByName(column).Column();
  TTableData& t = *impl_;
  int found = -1;
  const bool leadsIndex = t.currentIndex >= 0 && t.indexes[static_cast<std::size_t>(t.currentIndex)].columns[0] == c;
  if (leadsIndex) {
    // The current order is sorted by this column: search, do not scan.
    auto firstNotBefore = [&t](auto before) {
      int low = 0;
      int count = t.recordCount;
      while (count > 0) {
        const int half = count / 2;
        if (before(t.RecordAt(low + half))) {
          low += half + 1;
          count -= half + 1;
        } else {
          count = half;
        }
      }
      return low;
    };
    int at = 0;
    if (t.intSlot[static_cast<std::size_t>(c)] >= 0) {
      // Stored integers read back in plain form; any other spelling matches none.
      TIntKey key{false, 0};
      if (!value.empty()) {
        std::int32_t v = 0;
        if (!ParseStrictInteger(value, INT32_MIN, INT32_MAX, v)) return false;
        key = {true, v};
      }
      at = firstNotBefore([&t, c, key](int r) { return t.IntKey(r, c) < key; });
    } else {
      at = firstNotBefore([&t, c, value](int r) { return t.Value(r, c) < value; });
    }
    if (at < t.recordCount && t.Value(t.RecordAt(at), c) == value) found = at;
  } else {
    for (int p = 0; p < t.recordCount; ++p) {
      if (t.Value(t.RecordAt(p), c) == value) {
        found = p;
        break;
      }
    }
  }
  if (found < 0) return false;
  t.pos = found;
  t.eof = false;
  t.bof = false;
  return true;
}

TField TMemTable::FieldByName(std::string_view name) const {
  const TTableData& t = impl_ ? static_cast<const TTableData&>(*impl_) : EmptyImpl();
  const int c = t.FindColumn(name);
  if (c < 0) throw ETableError("no column named \"" + std::string(name) + "\"");
  return TField(this, c);
}

int TMemTable::RecordCount() const { return impl_ ? impl_->recordCount : 0; }
int TMemTable::ColumnCount() const { return impl_ ? impl_->ColumnCount() : 0; }
const std::vector<TColumnDef>& TMemTable::Columns() const { return impl_ ? impl_->columns : EmptyImpl().columns; }
const std::vector<TIndexDef>& TMemTable::Indexes() const { return impl_ ? impl_->indexes : EmptyImpl().indexes; }
int TMemTable::RecNo() const { return impl_ ? impl_->pos : -1; }

std::string_view TMemTable::ValueAt(int position, int column) const {
  const TTableData& t = impl_ ? static_cast<const TTableData&>(*impl_) : EmptyImpl();
  if (position < 0 || position >= t.recordCount || column < 0 || column >= t.ColumnCount())
    throw ETableError("no value at position " + std::to_string(position) + ", column " + std::to_string(column));
  return t.Value(t.RecordAt(position), column);
}

std::int32_t TMemTable::IntegerAt(int position, int column) const {
  const TTableData& t = impl_ ? static_cast<const TTableData&>(*impl_) : EmptyImpl();
  if (position < 0 || position >= t.recordCount || column < 0 || column >= t.ColumnCount())
    throw ETableError("no value at position " + std::to_string(position) + ", column " + std::to_string(column));
  return t.Integer(t.RecordAt(position), column);
}

std::string_view TMemTable::ValueOfRecord(int record, int column) const {
  const TTableData& t = impl_ ? static_cast<const TTableData&>(*impl_) : EmptyImpl();
  if (record < 0 || record >= t.recordCount || column < 0 || column >= t.ColumnCount())
    throw ETableError("no value at record " + std::to_string(record) + ", column " + std::to_string(column));
  return t.Value(record, column);
}

std::int32_t TMemTable::IntegerOfRecord(int record, int column) const {
  const TTableData& t = impl_ ? static_cast<const TTableData&>(*impl_) : EmptyImpl();
  if (record < 0 || record >= t.recordCount || column < 0 || column >= t.ColumnCount())
    throw ETableError("no value at record " + std::to_string(record) + ", column " + std::to_string(column));
  return t.Integer(record, column);
}

void TMemTable::Prefetch(int position, TPrefetch step) const {
  if (!impl_ || position < 0 || position >= impl_->recordCount) return;
  const TTableData& t = *impl_;
  if (step == TPrefetch::Order) {
    if (!t.order.empty()) __builtin_prefetch(&t.order[static_cast<std::size_t>(position)]);
    return;
  }
  const auto record = static_cast<std::size_t>(t.RecordAt(position));
  const std::size_t stride = t.columns.size() + 1;
  if (step == TPrefetch::Place) {
    __builtin_prefetch(&t.base[record]);
    __builtin_prefetch(&t.rel[record * stride]);
    if (t.intColumns > 0) __builtin_prefetch(&t.ints[record * static_cast<std::size_t>(t.intColumns)]);
    return;
  }
  const std::uint32_t b = t.base[record];
  if ((b & TTableData::kWideRecord) != 0) return;
  const char* values = t.text.data() + b;
  const std::size_t size = t.rel[record * stride + stride - 1];
  for (std::size_t at = 0; at < size + 64; at += 64) __builtin_prefetch(values + std::min(at, size));
}

void TMemTable::WriteImage(TImageWriter& out) const {
  const TTableData& t = impl_ ? static_cast<const TTableData&>(*impl_) : EmptyImpl();
  out.Number(t.columns.size());
  for (const TColumnDef& column : t.columns) {
    out.Text(column.name);
    out.Number(static_cast<std::uint64_t>(column.type));
    out.Number(static_cast<std::uint64_t>(column.size));
  }
  out.Number(t.indexes.size());
  for (const TIndexDef& index : t.indexes) {
    out.Text(index.name);
    out.Number(index.unique ? 1 : 0);
    out.Array(std::span<const int>(index.columns));
  }
  out.Number(static_cast<std::uint64_t>(t.recordCount));
  out.Text(t.text);
  out.Array(t.base);
  out.Array(t.rel);
  out.Array(t.wideOffsets);
  out.Array(t.wideLengths);
  out.Array(t.ints);
  out.Array(t.order);
  out.Number(static_cast<std::uint64_t>(t.currentIndex + 1));
  out.Number(static_cast<std::uint64_t>(t.pos + 1));
  out.Number((t.eof ? 1u : 0u) | (t.bof ? 2u : 0u));
}

namespace {

// Every value of every record lies inside the text, and the order names
// each record once.
void CheckImageRecords(const TTableData& t) {
  const std::size_t columns = t.columns.size();
  const auto records = static_cast<std::size_t>(t.recordCount);
  if (columns == 0) {
    if (records != 0 || !t.text.empty() || !t.base.empty() || !t.rel.empty() || !t.wideOffsets.empty() ||
        !t.wideLengths.empty() || !t.ints.empty() || !t.order.empty())
      TImageReader::Damaged("a table without columns holds values");
    return;
  }
  if (t.base.size() != records || t.rel.size() != records * (columns + 1) ||
      t.ints.size() != records * static_cast<std::size_t>(t.intColumns) ||
      t.wideOffsets.size() != t.wideLengths.size() || t.wideOffsets.size() % columns != 0)
    TImageReader::Damaged("a table's arrays disagree with its record count");
  const std::size_t wideRecords = t.wideOffsets.size() / columns;
  for (std::size_t r = 0; r < records; ++r) {
    const std::uint32_t b = t.base[r];
    if ((b & TTableData::kWideRecord) != 0) {
      const std::size_t w = b & ~TTableData::kWideRecord;
      if (w >= wideRecords) TImageReader::Damaged("a record names a missing wide record");
      for (std::size_t c = 0; c < columns; ++c) {
        const std::size_t i = w * columns + c;
        if (t.wideOffsets[i] > t.text.size() || t.wideLengths[i] > t.text.size() - t.wideOffsets[i])
          TImageReader::Damaged("a value lies outside the table text");
      }
      continue;
    }
    const std::uint8_t* rel = t.rel.data() + r * (columns + 1);
    for (std::size_t c = 0; c < columns; ++c)
      if (rel[c] > rel[c + 1]) TImageReader::Damaged("a record's values overlap");
    if (b > t.text.size() || rel[columns] > t.text.size() - b)
      TImageReader::Damaged("a value lies outside the table text");
  }
  if (!t.order.empty()) {
    if (t.order.size() != records) TImageReader::Damaged("a table's order disagrees with its record count");
    std::vector<bool> seen(records, false);
    for (const std::int32_t r : t.order) {
      if (r < 0 || static_cast<std::size_t>(r) >= records || seen[static_cast<std::size_t>(r)])
        TImageReader::Damaged("a table's order does not name each record once");
      seen[static_cast<std::size_t>(r)] = true;
    }
  }
}

}  // namespace

void TMemTable::ReadImage(TImageReader& in, std::shared_ptr<const void> image) {
  auto fresh = std::make_unique<Impl>();
  TTableData& t = *fresh;
  // A table never loaded has no columns (and so no records).
  const std::size_t columns = in.Count(kMaxColumns, "column count");
  for (std::size_t c = 0; c < columns; ++c) {
    TColumnDef column;
    column.name = std::string(in.Text());
    const std::size_t type = in.Count(static_cast<std::uint64_t>(TFieldType::Integer), "column type");
    column.type = static_cast<TFieldType>(type);
    column.size = static_cast<int>(in.Count(kMaxTextColumnSize, "column size"));
    t.columns.push_back(std::move(column));
  }
  const std::size_t indexes = in.Count(kMaxIndexes, "index count");
  for (std::size_t i = 0; i < indexes; ++i) {
    TIndexDef index;
    index.name = std::string(in.Text());
    index.unique = in.Count(1, "index flag") == 1;
    const auto keys = in.Array<int>();
    if (keys.empty() || keys.size() > kMaxIndexColumns) TImageReader::Damaged("index column count out of range");
    for (const int key : keys)
      if (key < 0 || static_cast<std::size_t>(key) >= columns) TImageReader::Damaged("index names a missing column");
    index.columns.assign(keys.begin(), keys.end());
    t.indexes.push_back(std::move(index));
  }
  t.intSlot.assign(columns, -1);
  for (std::size_t c = 0; c < columns; ++c)
    if (t.columns[c].type != TFieldType::WideString) t.intSlot[c] = t.intColumns++;
  t.recordCount = static_cast<int>(in.Count(INT32_MAX, "record count"));
  t.text = in.Text();
  if (t.text.size() > kMaxTableTextBytes) TImageReader::Damaged("table text too large");
  t.base = in.Array<std::uint32_t>();
  t.rel = in.Array<std::uint8_t>();
  t.wideOffsets = in.Array<std::uint32_t>();
  t.wideLengths = in.Array<std::uint16_t>();
  t.ints = in.Array<std::int32_t>();
  t.order = in.Array<std::int32_t>();
  t.currentIndex = static_cast<int>(in.Count(indexes, "current index")) - 1;
  if (t.currentIndex >= 0) t.indexName = t.indexes[static_cast<std::size_t>(t.currentIndex)].name;
  t.pos = static_cast<int>(in.Count(static_cast<std::uint64_t>(t.recordCount), "cursor")) - 1;
  const std::size_t ends = in.Count(3, "cursor ends");
  t.eof = (ends & 1u) != 0;
  t.bof = (ends & 2u) != 0;
  if (t.pos < 0 && t.recordCount > 0) TImageReader::Damaged("cursor off a table with records");
  CheckImageRecords(t);
  t.image = std::move(image);
  impl_ = std::move(fresh);
}

}  // namespace vormek
