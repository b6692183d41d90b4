// Loading the timetable: inflating items and parsing table text into tables,
// and beside it opening the same timetables from their image.
// The generated stop table has the size of the one the program ships; the
// national 2019 tables are used when their folder is present.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bench_tables.h"
#include "data/embedded_items.h"
#include "data/image_io.h"
#include "data/inflate_item.h"
#include "data/item_set.h"
#include "data/mem_table.h"
#include "data/timetable.h"
#include "data/timetable_image.h"
#include "query_calls.h"

namespace {

constexpr int kStopRows = 43'000;

std::string Field(const std::string& value) { return "\"" + value + "\","; }

// A stop table in the stored layout: trains of 20 to 40 stops, in SIDNo order.
std::string GenerateStopTable() {
  const std::array<const char*, 16> syllables = {"北", "京", "上", "海", "广", "州", "西", "安",
                                                 "成", "都", "重", "庆", "武", "汉", "南", "东"};
  std::string text =
      "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n"
      "\"ID=WideString,35,\"\"ID\"\",\"\"\"\",35,Data,\"\"\"\"\"\r\n"
      "\"Station=WideString,20,\"\"Station\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"S_No=Integer,0,\"\"S_No\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
      "\"A_Time=WideString,20,\"\"A_Time\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"D_Time=WideString,20,\"\"D_Time\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"R_Date=WideString,20,\"\"R_Date\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"Distance=Integer,0,\"\"Distance\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
      "\"P1=WideString,20,\"\"P1\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"P2=WideString,20,\"\"P2\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"P3=WideString,20,\"\"P3\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"P4=WideString,20,\"\"P4\"\",\"\"\"\",20,Data,\"\"\"\"\"\r\n"
      "\"@@INDEXDEF START@@\"\r\n\"SIDNo=\"\"ID;S_No\"\",\"\"SIDNo\"\",UNIQ\"\r\n"
      "\"SStation=\"\"Station\"\",\"\"SStation\"\"\"\r\n\"@@INDEXDEF END@@\"\r\n\"@@TABLEDEF END@@\"\r\n"
      "\"ID\",\"Station\",\"S_No\",\"A_Time\",\"D_Time\",\"R_Date\",\"Distance\",\"P1\",\"P2\",\"P3\",\"P4\",\r\n";
  text.reserve(3'400'000);
  std::vector<std::string> trains;
  for (int t = 0; static_cast<int>(trains.size()) * 30 < kStopRows + 60; ++t)
    trains.push_back(std::string(1, "DGKTZ"[t % 5]) + std::to_string(1000 + t));
  std::sort(trains.begin(), trains.end());
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  auto clock = [](int minutes) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", (minutes / 60) % 24, minutes % 60);
    return std::string(buffer);
  };
  int rows = 0;
  for (std::size_t t = 0; t < trains.size() && rows < kStopRows; ++t) {
    const int stops = std::min(20 + static_cast<int>(next() % 21), kStopRows - rows);
    int minutes = static_cast<int>(next() % 1440);
    const int start = minutes;
    int km = 0;
    for (int s = 1; s <= stops; ++s, ++rows) {
      std::string station;
      const int length = 2 + static_cast<int>(next() % 3);
      for (int c = 0; c < length; ++c) station += syllables[next() % syllables.size()];
      const bool first = s == 1;
      const bool last = s == stops;
      const int elapsed = minutes - start;
      text += Field(trains[t]) + Field(station) + Field(std::to_string(s)) + Field(first ? "" : clock(minutes)) +
              Field(last ? "" : clock(minutes + 5)) +
              Field(first ? "0" : std::to_string(elapsed / 60) + ":" + std::to_string(elapsed % 60)) +
              Field(std::to_string(km));
      if (first) {
        text += "\"\",\"\",\"\",\"\",";
      } else {
        const int fare = km / 10 + 5;
        text +=
            Field(std::to_string(fare)) + Field("-") +
            Field(std::to_string(fare * 2) + "/" + std::to_string(fare * 2 + 5) + "/" + std::to_string(fare * 2 + 10)) +
            Field(std::to_string(fare * 3) + "/" + std::to_string(fare * 3 + 8));
      }
      text += "\r\n";
      minutes += 30 + static_cast<int>(next() % 60);
      km += 20 + static_cast<int>(next() % 80);
    }
  }
  return text;
}

std::vector<unsigned char> Compress(const std::string& content) {
  uLongf size = compressBound(static_cast<uLong>(content.size()));
  std::vector<unsigned char> out(size + 4);
  compress2(out.data() + 4, &size, reinterpret_cast<const Bytef*>(content.data()), static_cast<uLong>(content.size()),
            9);
  out.resize(size + 4);
  const auto n = static_cast<std::uint32_t>(content.size());
  for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<unsigned char>(n >> (8 * i));
  return out;
}

const std::string& GeneratedText() {
  static const std::string text = GenerateStopTable();
  return text;
}

const std::vector<unsigned char>& GeneratedItem() {
  static const std::vector<unsigned char> item = Compress(GeneratedText());
  return item;
}

std::filesystem::path NationalDir() { return std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019"; }

std::string ReadFile(const std::filesystem::path& path) {
  std::string bytes(static_cast<std::size_t>(std::filesystem::file_size(path)), '\0');
  std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// The four national texts, once, in the loaders' order.
const std::array<std::string, 4>& NationalTexts() {
  static const std::array<std::string, 4> texts = [] {
    std::array<std::string, 4> t;
    if (std::filesystem::exists(NationalDir() / "STRAIN.txt")) {
      t = {ReadFile(NationalDir() / "SPY.txt"), ReadFile(NationalDir() / "SLIST.txt"),
           ReadFile(NationalDir() / "SM.txt"), ReadFile(NationalDir() / "STRAIN.txt")};
    }
    return t;
  }();
  return texts;
}

void BM_InflateAndParseGeneratedStopTable(benchmark::State& state) {
  const std::vector<unsigned char>& item = GeneratedItem();
  for (auto _ : state) {
    vormek::TMemTable table;
    const std::string text = vormek::InflateItem(item);
    table.LoadFromText(text);
    table.SetIndexName("SIDNo");
    benchmark::DoNotOptimize(table.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(GeneratedText().size()));
  state.counters["rows"] = kStopRows;
}
BENCHMARK(BM_InflateAndParseGeneratedStopTable)->Unit(benchmark::kMillisecond);

void BM_InflateGeneratedStopTable(benchmark::State& state) {
  const std::vector<unsigned char>& item = GeneratedItem();
  for (auto _ : state) benchmark::DoNotOptimize(vormek::InflateItem(item));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(GeneratedText().size()));
}
BENCHMARK(BM_InflateGeneratedStopTable)->Unit(benchmark::kMillisecond);

void BM_ParseGeneratedStopTable(benchmark::State& state) {
  const std::string& text = GeneratedText();
  for (auto _ : state) {
    vormek::TMemTable table;
    table.LoadFromText(text);
    benchmark::DoNotOptimize(table.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseGeneratedStopTable)->Unit(benchmark::kMillisecond);

void BM_ParseNationalStopTable(benchmark::State& state) {
  const std::string& text = NationalTexts()[3];
  if (text.empty()) {
    state.SkipWithError("national tables not present");
    return;
  }
  for (auto _ : state) {
    vormek::TMemTable table;
    table.LoadFromText(text);
    table.SetIndexName("SIDNo");
    benchmark::DoNotOptimize(table.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseNationalStopTable)->Unit(benchmark::kMillisecond);

// What start-up does: four items inflated, parsed and indexed.
void BM_FullLoadNationalFromItems(benchmark::State& state) {
  const std::array<std::string, 4>& texts = NationalTexts();
  if (texts[3].empty()) {
    state.SkipWithError("national tables not present");
    return;
  }
  std::array<std::vector<unsigned char>, 4> stored;
  for (std::size_t i = 0; i < 4; ++i) stored[i] = Compress(texts[i]);
  const vormek::TItemSet items({{"SPY", stored[0].data(), stored[0].size()},
                                {"SLIST", stored[1].data(), stored[1].size()},
                                {"SM", stored[2].data(), stored[2].size()},
                                {"STRAIN", stored[3].data(), stored[3].size()}});
  for (auto _ : state) {
    vormek::TTimetable timetable;
    vormek::bench::LoadTables(items, timetable);
    benchmark::DoNotOptimize(timetable.KMTrain.RecordCount());
  }
}
BENCHMARK(BM_FullLoadNationalFromItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The same four texts already in memory: parsing and indexing alone.
void BM_FullParseNational(benchmark::State& state) {
  const std::array<std::string, 4>& texts = NationalTexts();
  if (texts[3].empty()) {
    state.SkipWithError("national tables not present");
    return;
  }
  for (auto _ : state) {
    vormek::TTimetable t;
    t.KMPy.LoadFromText(texts[0]);
    t.KMList.LoadFromText(texts[1]);
    t.KMList.SetIndexName("SID");
    t.KMSM.LoadFromText(texts[2]);
    t.KMSM.SetIndexName("SStation");
    t.KMTrain.LoadFromText(texts[3]);
    t.KMTrain.SetIndexName("SIDNo");
    benchmark::DoNotOptimize(t.KMTrain.RecordCount());
  }
}
BENCHMARK(BM_FullParseNational)->Unit(benchmark::kMillisecond);

// Locate on the column that leads the current index searches; on another
// column it scans. Each iteration looks up one train of the stop table.
void LocateNational(benchmark::State& state, std::string_view column) {
  const std::array<std::string, 4>& texts = NationalTexts();
  if (texts[3].empty()) {
    state.SkipWithError("national tables not present");
    return;
  }
  vormek::TMemTable stops;
  stops.LoadFromText(texts[3]);
  stops.SetIndexName("SIDNo");
  const int c = stops.FieldByName(column).Column();
  std::vector<std::string> keys;
  for (int p = 0; p < stops.RecordCount(); p += 97) keys.emplace_back(stops.ValueAt(p, c));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(stops.Locate(column, keys[i]));
    i = (i + 1) % keys.size();
  }
}
BENCHMARK_CAPTURE(LocateNational, by_leading_ID, "ID");
BENCHMARK_CAPTURE(LocateNational, by_Station_scanning, "Station");

// zlib against libdeflate (what InflateItem uses) on the same stop-table
// item: zlib the way the loader used it, one inflate call into exactly N
// bytes. Argument 0: the built-in item; 1: the national table at level 9.
std::string InflateWithZlib(const std::vector<unsigned char>& item) {
  const std::uint32_t n = static_cast<std::uint32_t>(item[0]) | (static_cast<std::uint32_t>(item[1]) << 8) |
                          (static_cast<std::uint32_t>(item[2]) << 16) | (static_cast<std::uint32_t>(item[3]) << 24);
  std::string out(n, '\0');
  z_stream zs{};
  inflateInit(&zs);
  zs.next_in = const_cast<Bytef*>(item.data() + 4);
  zs.avail_in = static_cast<uInt>(item.size() - 4);
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = n;
  const int rc = inflate(&zs, Z_FINISH);
  inflateEnd(&zs);
  if (rc != Z_STREAM_END || zs.avail_out != 0) out.clear();
  return out;
}

const std::vector<unsigned char>* StopTableItem(benchmark::State& state) {
  static const std::vector<unsigned char> builtin = [] {
    const std::span<const unsigned char> stored = vormek::EmbeddedItems().Open("STrain");
    return std::vector<unsigned char>(stored.begin(), stored.end());
  }();
  static const std::vector<unsigned char> national =
      NationalTexts()[3].empty() ? std::vector<unsigned char>() : Compress(NationalTexts()[3]);
  const std::vector<unsigned char>& item = state.range(0) == 0 ? builtin : national;
  if (item.empty()) {
    state.SkipWithError("national tables not present");
    return nullptr;
  }
  return &item;
}

void BM_InflateStopTable_zlib(benchmark::State& state) {
  const std::vector<unsigned char>* item = StopTableItem(state);
  if (item == nullptr) return;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = InflateWithZlib(*item);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  if (bytes == 0) state.SkipWithError("zlib refused the item");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_InflateStopTable_zlib)->ArgName("national")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_InflateStopTable_libdeflate(benchmark::State& state) {
  const std::vector<unsigned char>* item = StopTableItem(state);
  if (item == nullptr) return;
  if (vormek::InflateItem(*item) != InflateWithZlib(*item)) {
    state.SkipWithError("libdeflate and zlib disagree");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string out = vormek::InflateItem(*item);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_InflateStopTable_libdeflate)->ArgName("national")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Start-up's loading of the built-in timetable from the program's items, as
// the window loads it.
void BM_FullLoadBuiltinFromItems(benchmark::State& state) {
  for (auto _ : state) {
    vormek::TTimetable timetable;
    vormek::bench::LoadTables(vormek::EmbeddedItems(), timetable);
    benchmark::DoNotOptimize(timetable.KMTrain.RecordCount());
  }
}
BENCHMARK(BM_FullLoadBuiltinFromItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// Ten times the national timetable (or the built-in one when that is absent).
const vormek::bench::TTableTexts& Scaled10Texts() {
  static const vormek::bench::TTableTexts texts = [] {
    const std::optional<vormek::bench::TTableTexts> national = vormek::bench::NationalTexts();
    return vormek::bench::ScaleTexts(national ? *national : vormek::bench::BuiltinTexts(), 10);
  }();
  return texts;
}

// Start-up's loading of a timetable ten times the national one, from items.
void BM_FullLoadScaled10FromItems(benchmark::State& state) {
  static const vormek::bench::TPackedTables packed(Scaled10Texts());
  for (auto _ : state) {
    vormek::TTimetable timetable;
    vormek::bench::LoadTables(packed.Items(), timetable);
    benchmark::DoNotOptimize(timetable.KMTrain.RecordCount());
  }
}
BENCHMARK(BM_FullLoadScaled10FromItems)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Opening the same timetables from their image instead of loading their
// texts: the image is written once from the loaded tables and copied to a
// 16-byte boundary, where a mapping or the program's own image starts.
enum class TSource { Builtin, National, Scaled10 };

struct alignas(vormek::kImageAlign) TImageBlock {
  std::byte bytes[vormek::kImageAlign];
};

struct TImageBytes {
  std::vector<TImageBlock> blocks;
  std::size_t size = 0;
  int stops = 0;
  std::span<const std::byte> Span() const { return {blocks.front().bytes, size}; }
};

std::unique_ptr<TImageBytes> MakeImage(const vormek::TTimetable& timetable) {
  const std::string written = vormek::bench::WriteImage(timetable);
  auto image = std::make_unique<TImageBytes>();
  image->blocks.resize((written.size() + vormek::kImageAlign - 1) / vormek::kImageAlign);
  std::memcpy(image->blocks.data(), written.data(), written.size());
  image->size = written.size();
  image->stops = timetable.KMTrain.RecordCount();
  return image;
}

// Each made the first time it is asked for; null when the national tables
// are absent.
const TImageBytes* ImageOf(TSource source) {
  switch (source) {
    case TSource::Builtin: {
      static const std::unique_ptr<TImageBytes> image = [] {
        vormek::TTimetable timetable;
        vormek::bench::LoadTables(vormek::EmbeddedItems(), timetable);
        return MakeImage(timetable);
      }();
      return image.get();
    }
    case TSource::National: {
      static const std::unique_ptr<TImageBytes> image = [] {
        const std::optional<vormek::bench::TTableTexts> texts = vormek::bench::NationalTexts();
        return texts ? MakeImage(*vormek::bench::LoadTexts(*texts)) : nullptr;
      }();
      return image.get();
    }
    case TSource::Scaled10: {
      static const std::unique_ptr<TImageBytes> image = MakeImage(*vormek::bench::LoadTexts(Scaled10Texts()));
      return image.get();
    }
  }
  return nullptr;
}

void BM_OpenImage(benchmark::State& state, TSource source, vormek::TImageChecksum checksum) {
  const TImageBytes* image = ImageOf(source);
  if (image == nullptr) {
    state.SkipWithError("national tables not present");
    return;
  }
  {
    // What opens must be the tables that were written: their image again.
    vormek::TTimetable opened;
    vormek::bench::OpenImage(image->Span(), checksum, opened);
    const std::string again = vormek::bench::WriteImage(opened);
    if (again.size() != image->size || std::memcmp(again.data(), image->Span().data(), image->size) != 0) {
      state.SkipWithError("the opened image writes back differently");
      return;
    }
  }
  for (auto _ : state) {
    vormek::TTimetable timetable;
    vormek::bench::OpenImage(image->Span(), checksum, timetable);
    benchmark::DoNotOptimize(timetable.KMTrain.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(image->size));
  state.counters["stops"] = image->stops;
  state.counters["image_bytes_per_stop"] = static_cast<double>(image->size) / image->stops;
}
BENCHMARK_CAPTURE(BM_OpenImage, builtin_verify, TSource::Builtin, vormek::TImageChecksum::Verify)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpenImage, builtin_skip, TSource::Builtin, vormek::TImageChecksum::Skip)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpenImage, national_verify, TSource::National, vormek::TImageChecksum::Verify)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpenImage, national_skip, TSource::National, vormek::TImageChecksum::Skip)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpenImage, scaled10_verify, TSource::Scaled10, vormek::TImageChecksum::Verify)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpenImage, scaled10_skip, TSource::Scaled10, vormek::TImageChecksum::Skip)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
