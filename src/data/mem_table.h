#pragma once
// An in-memory table read from the table text format "251", with one cursor
// shared by all its readers. Records are read-only once loaded.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vormek {

// The largest table text a table takes. The national stop table is 4.9 MB;
// the stop table of a timetable a hundred times that size (its train numbers
// a little longer) is 504,767,306 bytes, 481 MiB. 512 MiB holds it and still
// refuses a file of gigabytes before reading it.
inline constexpr std::size_t kMaxTableTextBytes = std::size_t{512} << 20;

class TMemTable;
class TImageWriter;
class TImageReader;

// A resolved column of one table: cheap to copy, reads the current record.
class TField {
 public:
  TField() = default;
  // The value as text; the empty text for an empty value. Valid while the
  // table lives and is not reloaded.
  std::string_view AsString() const;
  // The value as integer; an empty (null) value, or text that does not read
  // as a decimal integer, gives 0.
  std::int32_t AsInteger() const;
  std::string_view FieldName() const;
  int Column() const { return column_; }

 private:
  friend class TMemTable;
  TField(const TMemTable* table, int column) : table_(table), column_(column) {}
  const TMemTable* table_ = nullptr;
  int column_ = -1;
};

enum class TFieldType { WideString, SmallInt, Integer };

struct TColumnDef {
  std::string name;
  TFieldType type = TFieldType::WideString;
  int size = 0;  // maximum characters of a WideString, 0 for integers
};

struct TIndexDef {
  std::string name;
  std::vector<int> columns;  // resolved column numbers
  bool unique = false;
};

class TMemTable {
 public:
  TMemTable();
  ~TMemTable();
  TMemTable(TMemTable&&) noexcept;
  TMemTable& operator=(TMemTable&&) noexcept;
  TMemTable(const TMemTable&) = delete;
  TMemTable& operator=(const TMemTable&) = delete;

  // Replaces columns, index definitions and records by those of the text.
  // Afterwards no index is current (records in text order). Throws
  // ETableFormatError naming the line on malformed text; the table is then
  // left empty.
  void LoadFromText(std::string_view text);
  // The same, keeping the given buffer as the table's storage instead of
  // copying it (the loaders hand over the inflated item).
  void LoadFromOwnedText(std::string text);

  // Selects the current order by index name ("" for text order; names match
  // without regard to letter case) and moves to the first record. Throws
  // ETableError for an unknown index, or for a unique index under which two
  // records share a key; the previous order then stays current.
  void SetIndexName(std::string_view name);
  const std::string& IndexName() const;

  // First also sets Bof and Last also sets Eof: the cursor stands at that end.
  // Both are true on an empty table.
  void First();
  void Last();
  void Next();   // on the last record: stays there, Eof becomes true
  void Prior();  // on the first record: stays there, Bof becomes true
  bool Eof() const;
  bool Bof() const;

  // First record of the current order whose column equals value exactly
  // (bytes, so letter case and trailing blanks count). On success the cursor
  // stands on it with Eof and Bof false; on failure the cursor stays. Searches
  // instead of scanning when the current index leads with that column.
  // Throws ETableError for an unknown column.
  bool Locate(std::string_view column, std::string_view value);

  // Column by name, without regard to ASCII letter case. Throws ETableError.
  TField FieldByName(std::string_view name) const;

  int RecordCount() const;
  int ColumnCount() const;
  const std::vector<TColumnDef>& Columns() const;
  const std::vector<TIndexDef>& Indexes() const;

  // Position of the cursor in the current order (0-based), -1 when empty.
  int RecNo() const;
  // Direct access for scans: value of a column at a position of the current
  // order.
  std::string_view ValueAt(int position, int column) const;
  std::int32_t IntegerAt(int position, int column) const;
  // The same by record, the position in text order whatever the current
  // order. These read nothing SetIndexName changes, so a check may run over
  // the records while another thread sets the index.
  std::string_view ValueOfRecord(int record, int column) const;
  // Every value of a record at once (values holds ColumnCount()), for a
  // check that reads them all.
  void ValuesOfRecord(int record, std::span<std::string_view> values) const;
  std::int32_t IntegerOfRecord(int record, int column) const;

  // A hint for scans that jump about a large table: the memory is asked for
  // a record in three steps, some rows apart, each reading what the one
  // before asked for: its place in the current order, then its offsets and
  // numbers, then its values. Changes nothing; a position outside the table is ignored.
  enum class TPrefetch { Order, Place, Values };
  void Prefetch(int position, TPrefetch step) const;

  // The table, its current order and cursor as part of a timetable image,
  // and back: the table then reads its values where the image lies and
  // keeps the image alive. Reading checks that every value lies inside the
  // image and every order names a record (EItemError when not), so that no
  // image makes a read go astray; a checked table is what the writer wrote.
  void WriteImage(TImageWriter& out) const;
  void ReadImage(TImageReader& in, std::shared_ptr<const void> image);

 private:
  friend class TField;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vormek
