#include "bench_tables.h"

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "data/embedded_items.h"
#include "data/inflate_item.h"
#include "query_calls.h"

namespace vormek::bench {

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Writes the text's definition lines and header row once, then its data rows
// `factor` times with the first field (the train number) renamed.
std::string Scale(const std::string& text, int factor) {
  const std::string end = "\"@@TABLEDEF END@@\"\r\n";
  std::size_t at = text.find(end);
  if (at == std::string::npos) throw std::runtime_error("table text without definition end");
  const std::size_t header = text.find("\r\n", at + end.size());
  const std::size_t rows = header + 2;
  std::string out;
  out.reserve(rows + (text.size() - rows) * static_cast<std::size_t>(factor) + 64);
  out.append(text, 0, rows);
  for (int k = 0; k < factor; ++k) {
    const std::string suffix = k == 0 ? std::string() : "-" + std::to_string(k);
    for (std::size_t line = rows; line < text.size();) {
      const std::size_t next = text.find("\r\n", line);
      const std::size_t stop = next == std::string::npos ? text.size() : next + 2;
      // "ID", ...: the closing quote of the first field.
      const std::size_t close = text.find('"', line + 1);
      out.append(text, line, close - line);
      out += suffix;
      out.append(text, close, stop - close);
      line = stop;
    }
  }
  return out;
}

std::vector<unsigned char> Pack(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::vector<unsigned char> stored(4 + size);
  const auto n = static_cast<std::uint32_t>(text.size());
  for (int i = 0; i < 4; ++i) stored[static_cast<std::size_t>(i)] = static_cast<unsigned char>(n >> (8 * i));
  if (compress2(stored.data() + 4, &size, reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                Z_BEST_SPEED) != Z_OK)
    throw std::runtime_error("compress failed");
  stored.resize(4 + size);
  return stored;
}

}  // namespace

std::optional<TTableTexts> NationalTexts() {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) return std::nullopt;
  return TTableTexts{ReadFile(dir / "SPY.txt"), ReadFile(dir / "SLIST.txt"), ReadFile(dir / "SM.txt"),
                     ReadFile(dir / "STRAIN.txt")};
}

TTableTexts BuiltinTexts() {
  const TItemSet& items = EmbeddedItems();
  return {DecompressItem(items, "SPY"), DecompressItem(items, "SList"), DecompressItem(items, "SM"),
          DecompressItem(items, "STrain")};
}

TTableTexts ScaleTexts(const TTableTexts& texts, int factor) {
  return {texts.Spy, Scale(texts.SList, factor), texts.Sm, Scale(texts.STrain, factor)};
}

TPackedTables::TPackedTables(const TTableTexts& texts) {
  stored_ = {Pack(texts.Spy), Pack(texts.SList), Pack(texts.Sm), Pack(texts.STrain)};
  items_ = TItemSet({{"SPY", stored_[0].data(), stored_[0].size()},
                     {"SLIST", stored_[1].data(), stored_[1].size()},
                     {"SM", stored_[2].data(), stored_[2].size()},
                     {"STRAIN", stored_[3].data(), stored_[3].size()}});
}

std::unique_ptr<TTimetable> LoadTexts(const TTableTexts& texts) {
  const TPackedTables packed(texts);
  auto timetable = std::make_unique<TTimetable>();
  LoadTables(packed.Items(), *timetable);
  return timetable;
}

int GroupOf(const TTimetable& tt, const std::string& name) {
  const int station = tt.KMSM.FieldByName("Station").Column();
  const int gp = tt.KMSM.FieldByName("Gp").Column();
  for (int i = 0, n = tt.KMSM.RecordCount(); i < n; ++i)
    if (tt.KMSM.ValueAt(i, station) == name) return tt.KMSM.IntegerAt(i, gp);
  return 0;
}

std::vector<std::string> CityStations(const TTimetable& tt, const std::string& name, bool exact) {
  const int g = GroupOf(tt, name);
  if (exact || g == 0) return {name};
  std::vector<std::string> stations;
  const int station = tt.KMSM.FieldByName("Station").Column();
  const int gp = tt.KMSM.FieldByName("Gp").Column();
  for (int i = 0, n = tt.KMSM.RecordCount(); i < n; ++i)
    if (tt.KMSM.IntegerAt(i, gp) == g) stations.emplace_back(tt.KMSM.ValueAt(i, station));
  return stations;
}

}  // namespace vormek::bench
