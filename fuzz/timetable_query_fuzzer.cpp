// Generated timetables, sane or with absurd values here and there, and every
// query on them. A table is either refused at load or answers every query
// without overflow or any other undefined behaviour; a table made only of
// sane values is never refused.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/errors.h"
#include "data/timetable.h"
#include "query_driver.h"
#include "rules/UPub_Center.h"
#include "timetable_generator.h"

using namespace vormek;
using namespace vormek::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  TGenerator generator(in);
  TTimetable tt;
  try {
    LoadTimetableFromTexts(generator.Texts(), tt);
  } catch (const EVormekError&) {
    Check(!generator.Sane());
    return 0;
  }
  TPub_Center center;
  center.Fares = BuildFareTables();
  auto station = [&in] { return std::string(kStations[in.ConsumeIntegralInRange(0, 7)]); };
  for (int round = 0; round < 4 && in.remaining_bytes() > 0; ++round) {
    const auto query = static_cast<TFuzzQuery>(in.ConsumeIntegralInRange(0, 3));
    if (query == TFuzzQuery::TrainNumber) {
      const std::string key = in.ConsumeBool() ? kTrainIds[in.ConsumeIntegralInRange(0, 7)] : "1";
      RunFuzzQuery(in, tt, center, query, key, "");
    } else if (query == TFuzzQuery::Station) {
      RunFuzzQuery(in, tt, center, query, station(), "");
    } else {
      const std::string from = station(), to = station();
      RunFuzzQuery(in, tt, center, query, from, to);
    }
  }
  return 0;
}
