// Timetable images of any bytes. Opening one either refuses it or gives a
// timetable whose every table value, index entry and query stays inside the
// image: no read out of bounds, no overflow, nothing undefined.
//
// The image is opened as one read from disk, its checksum first made to
// match, so that the checks of the structure and of the numbers are what
// stand in the way; the bytes after the length the header gives, if any,
// pick the clicks and rows the queries follow.
//
// With VORMEK_WRITE_IMAGE_SEEDS=<folder> the target writes the images of a
// few generated timetables there as seeds and exits.
#include <fuzzer/FuzzedDataProvider.h>
#include <libdeflate.h>
#include <sanitizer/asan_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/timetable.h"
#include "data/timetable_image.h"
#include "query_driver.h"
#include "rules/UPub_Center.h"
#include "support/timetable_walk.h"
#include "timetable_generator.h"

using namespace vormek;
using namespace vormek::fuzz;

namespace {

// The header: 48 bytes, the image length at 24, the checksum of all the
// rest at 32.
constexpr std::size_t kHeaderBytes = 48;
constexpr std::size_t kSizeAt = 24;
constexpr std::size_t kChecksumAt = 32;

void WriteSeeds(const std::string& folder) {
  std::mt19937 random(2012);
  int written = 0;
  for (int attempt = 0; written < 4 && attempt < 100; ++attempt) {
    std::vector<std::uint8_t> bytes(600);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    FuzzedDataProvider in(bytes.data(), bytes.size());
    TGenerator generator(in);
    TTimetable tt;
    try {
      LoadTimetableFromTexts(generator.Texts(), tt);
    } catch (const EVormekError&) {
      continue;
    }
    const std::string image = WriteTimetableImage(tt, "seed");
    std::ofstream(folder + "/seed-image-" + std::to_string(written++), std::ios::binary) << image;
  }
}

// The first few values of a table's first column: the station names the
// pinyin table lists, the train numbers of the train list.
std::vector<std::string> FirstValues(const TMemTable& t, int count) {
  std::vector<std::string> values;
  for (int p = 0; p < t.RecordCount() && p < count; ++p)
    if (t.ColumnCount() > 0) values.emplace_back(t.ValueAt(p, 0));
  return values;
}

// A query may refuse the tables, as the command line reports it: a column it
// reads is missing (a text table may lack one too), or a value it reads is
// not a number where it needs one. It must not stray or overflow.
void RunQuery(FuzzedDataProvider& in, TTimetable& tt, TPub_Center& center, TFuzzQuery query, const std::string& from,
              const std::string& to) {
  try {
    RunFuzzQuery(in, tt, center, query, from, to);
  } catch (const EVormekError&) {
  }
}

void RunQueries(FuzzedDataProvider& in, TTimetable& tt) {
  static const TFareTables fares = BuildFareTables();
  TPub_Center center;
  center.Fares = fares;
  const std::vector<std::string> stations = FirstValues(tt.KMPy, 6);
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const std::string& to = stations[(i + 1) % stations.size()];
    RunQuery(in, tt, center, TFuzzQuery::Station, stations[i], "");
    RunQuery(in, tt, center, TFuzzQuery::Direct, stations[i], to);
    RunQuery(in, tt, center, TFuzzQuery::Transfer, stations[i], to);
    RunQuery(in, tt, center, TFuzzQuery::Connections, stations[i], to);
  }
  for (const std::string& train : FirstValues(tt.KMList, 6))
    RunQuery(in, tt, center, TFuzzQuery::TrainNumber, train, "");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* folder = std::getenv("VORMEK_WRITE_IMAGE_SEEDS")) {
    WriteSeeds(folder);
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The image proper, as long as its header says; the rest picks the clicks.
  std::size_t imageSize = size;
  if (size >= kSizeAt + 8) {
    std::uint64_t declared = 0;
    std::memcpy(&declared, data + kSizeAt, sizeof declared);
    if (declared >= kSizeAt + 8 && declared <= size) imageSize = static_cast<std::size_t>(declared);
  }
  // A copy on a 16-byte boundary, as a mapping gives; shared with the
  // timetable, as the cache shares its mapping. The padding to the boundary
  // is poisoned, so that a read just past the image is caught too.
  const std::size_t room = (imageSize + 16) / 16 * 16;
  std::shared_ptr<std::byte> bytes(static_cast<std::byte*>(std::aligned_alloc(16, room)), [room](std::byte* p) {
    ASAN_UNPOISON_MEMORY_REGION(p, room);
    std::free(p);
  });
  if (imageSize > 0) std::memcpy(bytes.get(), data, imageSize);
  ASAN_POISON_MEMORY_REGION(bytes.get() + imageSize, room - imageSize);
  if (imageSize >= kHeaderBytes) {
    const std::uint64_t checksum = libdeflate_crc32(0, bytes.get() + kHeaderBytes, imageSize - kHeaderBytes);
    std::memcpy(bytes.get() + kChecksumAt, &checksum, sizeof checksum);
  }
  TTimetable tt;
  try {
    OpenTimetableImage({bytes.get(), imageSize}, bytes, TImageChecksum::Verify, tt);
  } catch (const EItemError&) {
    return 0;
  }
  try {
    vormek::testing::ReadEverything(tt);
  } catch (const ETableError&) {
    // A bounds-checked read may refuse; it must not stray.
  }
  FuzzedDataProvider in(data + imageSize, size - imageSize);
  RunQueries(in, tt);
  return 0;
}
