// Arbitrary bytes as table text: either ETableFormatError or a table whose
// every cursor operation behaves, checked against the table's own values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/errors.h"
#include "data/gbk_codec.h"
#include "data/mem_table.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Integer columns compare numerically with the null value first; text
// columns by unsigned bytes.
int Compare(const vormek::TMemTable& t, int a, int b, int column) {
  if (t.Columns()[static_cast<std::size_t>(column)].type != vormek::TFieldType::WideString) {
    const bool na = t.ValueAt(a, column).empty();
    const bool nb = t.ValueAt(b, column).empty();
    if (na != nb) return na ? -1 : 1;
    const auto x = t.IntegerAt(a, column);
    const auto y = t.IntegerAt(b, column);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  const int c = t.ValueAt(a, column).compare(t.ValueAt(b, column));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void WalkEverything(vormek::TMemTable& t) {
  const int n = t.RecordCount();
  int visited = 0;
  for (t.First(); !t.Eof(); t.Next()) {
    Check(t.RecNo() == visited);
    for (const auto& column : t.Columns()) {
      const vormek::TField f = t.FieldByName(column.name);
      Check(f.AsString() == t.ValueAt(visited, f.Column()));
      Check(vormek::IsWholeGbk(f.AsString()));
      (void)f.AsInteger();
    }
    ++visited;
    Check(visited <= n);
  }
  Check(visited == n);
  visited = 0;
  for (t.Last(); !t.Bof(); t.Prior()) {
    ++visited;
    Check(visited <= n);
  }
  Check(visited == n);
  t.Next();
  t.Prior();
}

void CheckLocate(vormek::TMemTable& t, std::string_view extra) {
  const int n = t.RecordCount();
  for (int c = 0; c < t.ColumnCount(); ++c) {
    const std::string name = t.Columns()[static_cast<std::size_t>(c)].name;
    // Every value present must be found, on its first occurrence in order.
    for (int p = 0; p < n && p < 64; ++p) {
      const std::string value(t.ValueAt(p, c));
      Check(t.Locate(name, value));
      Check(t.ValueAt(t.RecNo(), c) == value);
      for (int q = 0; q < t.RecNo(); ++q) Check(t.ValueAt(q, c) != value);
    }
    if (t.Locate(name, extra)) Check(t.ValueAt(t.RecNo(), c) == extra);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vormek::TMemTable t;
  try {
    t.LoadFromText(bytes);
  } catch (const vormek::ETableFormatError& e) {
    Check(e.line() >= 1);
    Check(t.ColumnCount() == 0 && t.RecordCount() == 0);
    return 0;
  }
  Check(t.ColumnCount() > 0);
  const std::string_view extra = bytes.substr(bytes.size() > 8 ? bytes.size() - 8 : 0);
  WalkEverything(t);
  CheckLocate(t, extra);
  const auto indexes = t.Indexes();
  for (const auto& index : indexes) {
    const std::string before = t.IndexName();
    try {
      t.SetIndexName(index.name);
    } catch (const vormek::ETableError&) {
      // Only a unique index with a repeated key is refused, keeping the order.
      Check(index.unique && t.IndexName() == before);
      continue;
    }
    Check(t.IndexName() == index.name);
    if (index.unique) {
      for (int p = 1; p < t.RecordCount(); ++p) {
        bool same = true;
        for (int column : index.columns) same = same && Compare(t, p - 1, p, column) == 0;
        Check(!same);
      }
    }
    for (int p = 1; p < t.RecordCount(); ++p) {
      for (int column : index.columns) {
        const int c = Compare(t, p - 1, p, column);
        Check(c <= 0);
        if (c < 0) break;
      }
    }
    WalkEverything(t);
    CheckLocate(t, extra);
  }
  t.SetIndexName("");
  try {
    t.SetIndexName("\x01no such index");
    Check(false);
  } catch (const vormek::ETableError&) {
  }
  return 0;
}
