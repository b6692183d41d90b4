// Damaged and hostile table texts: how fast each is refused (bytes per
// second; the aim is at least 10 MB/s), and what the range check adds to
// loading the national stop table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "data/errors.h"
#include "data/mem_table.h"
#include "data/table_ranges.h"

namespace {

std::string Quote(const std::string& v) {
  std::string out = "\"";
  for (char c : v) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string Column(const std::string& name) {
  return Quote(name + "=Integer,0,\"" + name + "\",\"\",10,Data,\"\"") + "\r\n";
}

std::string Preamble(const std::string& columns, const std::string& indexes) {
  return "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n" + columns + "\"@@INDEXDEF START@@\"\r\n" +
         indexes + "\"@@INDEXDEF END@@\"\r\n\"@@TABLEDEF END@@\"\r\n";
}

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

std::string Damaged(int which) {
  switch (which) {
    case 0: {
      std::string columns;
      for (int i = 0; i < 100000; ++i) columns += Column("c" + std::to_string(i));
      return Preamble(columns, "");
    }
    case 1: {
      std::string indexes;
      for (int i = 0; i < 50000; ++i) indexes += Quote("i" + std::to_string(i) + "=\"a\",\"i\"") + "\r\n";
      return Preamble(Column("a"), indexes) + "\"a\",\r\n";
    }
    case 2: {
      std::string columns;
      for (int i = 0; i < 200; ++i) columns += Column("c" + std::to_string(i));
      return Preamble(columns, "") + Repeat("\r\n", 10000000);
    }
    default: return Preamble(Column("a"), "") + "\"a\",\r\n" + Repeat("\"\",", 5000000) + "\r\n";
  }
}

void BM_RefuseDamagedTable(benchmark::State& state) {
  const std::string text = Damaged(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    vormek::TMemTable t;
    try {
      t.LoadFromText(text);
    } catch (const vormek::ETableFormatError&) {
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
// 0: 100,000 columns, 1: 50,000 indexes, 2: 200 columns and 10 million line
// ends, 3: a row of 5 million fields.
BENCHMARK(BM_RefuseDamagedTable)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_NationalStopTableRangeCheck(benchmark::State& state) {
  const auto path = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019" / "STRAIN.txt";
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    state.SkipWithError("national tables not present");
    return;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  vormek::TMemTable t;
  t.LoadFromOwnedText(bytes.str());
  for (auto _ : state) vormek::CheckStopTableRanges(t);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * t.RecordCount());
}
BENCHMARK(BM_NationalStopTableRangeCheck)->Unit(benchmark::kMillisecond);

}  // namespace
