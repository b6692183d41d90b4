// A table as part of a timetable image, and back.
#include <climits>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "data/image_io.h"
#include "data/mem_table_data.h"

namespace vormek {

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
