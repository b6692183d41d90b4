// Reading the table text format "251" into a table's storage.
#include <sys/mman.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "data/errors.h"
#include "data/mem_table_data.h"
#include "data/table_text_reader.h"

namespace vormek {

namespace {

constexpr std::string_view kVersionMarker = "@@FILE VERSION@@";
constexpr std::string_view kVersion = "251";
constexpr std::string_view kTableDefStart = "@@TABLEDEF START@@";
constexpr std::string_view kIndexDefStart = "@@INDEXDEF START@@";
constexpr std::string_view kIndexDefEnd = "@@INDEXDEF END@@";
constexpr std::string_view kTableDefEnd = "@@TABLEDEF END@@";

// Every value takes at least three bytes of text: two quotes and a comma.
constexpr std::size_t kMinValueBytes = 3;

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

}  // namespace

void LoadTableText(std::string source, TTableData& t) {
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

}  // namespace vormek
