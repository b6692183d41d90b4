// Opening the national timetable as an image, and what checking its tables
// costs: every check a load makes, only the numbers the queries compute with,
// or what the reading of the texts makes sure of by itself (GBK, sizes, the
// texts of numbers). Opening an image from disk makes the first and the last.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "data/table_ranges.h"
#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "data/timetable_image.h"

namespace {

struct TNationalImage {
  std::shared_ptr<std::byte> bytes;
  std::size_t size = 0;
  std::span<const std::byte> Span() const { return {bytes.get(), size}; }
};

// The image of the national tables on a 16-byte boundary, as a mapping gives
// it; empty when the tables are absent.
const TNationalImage& NationalImage() {
  static const TNationalImage image = [] {
    TNationalImage i;
    const auto dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
    if (!std::filesystem::exists(dir / "STRAIN.txt")) return i;
    vormek::TTimetable tt;
    vormek::LoadTimetableFromDirectory(dir, tt);
    const std::string bytes = vormek::WriteTimetableImage(tt, "national");
    i.size = bytes.size();
    i.bytes.reset(static_cast<std::byte*>(std::aligned_alloc(16, (bytes.size() + 15) / 16 * 16)), std::free);
    std::memcpy(i.bytes.get(), bytes.data(), bytes.size());
    return i;
  }();
  return image;
}

void BM_OpenNationalImage(benchmark::State& state) {
  const TNationalImage& image = NationalImage();
  if (image.size == 0) {
    state.SkipWithError("national tables not present");
    return;
  }
  const auto checksum = state.range(0) == 0 ? vormek::TImageChecksum::Skip : vormek::TImageChecksum::Verify;
  for (auto _ : state) {
    vormek::TTimetable tt;
    vormek::OpenTimetableImage(image.Span(), image.bytes, checksum, tt);
    benchmark::DoNotOptimize(tt.KMTrain.RecordCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size));
}
// 0: checksum skipped (built into the program); 1: from the cache folder, the
// checksum verified and every value checked.
BENCHMARK(BM_OpenNationalImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 0: every check a load makes of the four tables; 1: only the integer
// columns of the train list and the stop table; 2: the values as the reading
// of the texts would have let them in.
void BM_NationalImageRangeChecks(benchmark::State& state) {
  const TNationalImage& image = NationalImage();
  if (image.size == 0) {
    state.SkipWithError("national tables not present");
    return;
  }
  vormek::TTimetable tt;
  vormek::OpenTimetableImage(image.Span(), image.bytes, vormek::TImageChecksum::Skip, tt);
  for (auto _ : state) {
    if (state.range(0) == 0) {
      vormek::CheckLoadedTimetable(tt);
    } else if (state.range(0) == 1) {
      vormek::CheckTrainListNumbers(tt.KMList);
      vormek::CheckStopTableNumbers(tt.KMTrain);
    } else {
      for (const vormek::TMemTable* table : {&tt.KMList, &tt.KMTrain, &tt.KMSM, &tt.KMPy})
        vormek::CheckImageValues(*table);
    }
  }
  state.SetItemsProcessed(state.iterations() * (tt.KMList.RecordCount() + tt.KMTrain.RecordCount()));
}
BENCHMARK(BM_NationalImageRangeChecks)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
