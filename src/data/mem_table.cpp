// A table's cursor, its indexes and the reads of its values; the parser and
// the image reader are files of their own.
#include "data/mem_table.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <numeric>
#include <utility>

#include "data/errors.h"
#include "data/mem_table_data.h"

namespace vormek {

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
    LoadTableText(std::move(text), static_cast<TTableData&>(*fresh));
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

void TMemTable::ValuesOfRecord(int record, std::span<std::string_view> values) const {
  const TTableData& t = impl_ ? static_cast<const TTableData&>(*impl_) : EmptyImpl();
  if (record < 0 || record >= t.recordCount || values.size() != static_cast<std::size_t>(t.ColumnCount()))
    throw ETableError("no record " + std::to_string(record) + " of " + std::to_string(values.size()) + " values");
  for (std::size_t c = 0; c < values.size(); ++c) values[c] = t.Value(record, static_cast<int>(c));
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

}  // namespace vormek
