#include "data/timetable.h"

#include <fstream>
#include <string>
#include <utility>

#include "data/errors.h"
#include "data/inflate_item.h"

namespace vormek {

namespace {

void LoadStep(const TItemSet& items, std::string_view item, TMemTable& table, std::string_view index) {
  try {
    // The inflated buffer becomes the table's storage: no second copy.
    table.LoadFromOwnedText(DecompressItem(items, item));
    table.SetIndexName(index);
  } catch (...) {
    table = TMemTable();  // a failed step leaves no half-usable table behind
    throw;
  }
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) throw EItemError("cannot read " + path.string() + ": " + error.message());
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    throw EItemError("cannot read " + path.string());
  return bytes;
}

}  // namespace

void LoadPinyinTable(const TItemSet& items, TMemTable& KMPy) { LoadStep(items, "SPY", KMPy, ""); }
void LoadTrainList(const TItemSet& items, TMemTable& KMList) { LoadStep(items, "SList", KMList, "SID"); }
void LoadGroupTable(const TItemSet& items, TMemTable& KMSM) { LoadStep(items, "SM", KMSM, "SStation"); }
void LoadStopTable(const TItemSet& items, TMemTable& KMTrain) { LoadStep(items, "STrain", KMTrain, "SIDNo"); }

void LoadTimetable(const TItemSet& items, TTimetable& timetable) {
  LoadPinyinTable(items, timetable.KMPy);
  LoadTrainList(items, timetable.KMList);
  LoadGroupTable(items, timetable.KMSM);
  LoadStopTable(items, timetable.KMTrain);
  timetable.Index = BuildTimetableIndex(timetable);
}

void LoadTimetableFromDirectory(const std::filesystem::path& dir, TTimetable& timetable) {
  // Read all four first, so that a missing file leaves no table half loaded.
  std::string spy = ReadWholeFile(dir / "SPY.txt");
  std::string slist = ReadWholeFile(dir / "SLIST.txt");
  std::string sm = ReadWholeFile(dir / "SM.txt");
  std::string strain = ReadWholeFile(dir / "STRAIN.txt");
  timetable.KMPy.LoadFromOwnedText(std::move(spy));
  timetable.KMList.LoadFromOwnedText(std::move(slist));
  timetable.KMList.SetIndexName("SID");
  timetable.KMSM.LoadFromOwnedText(std::move(sm));
  timetable.KMSM.SetIndexName("SStation");
  timetable.KMTrain.LoadFromOwnedText(std::move(strain));
  timetable.KMTrain.SetIndexName("SIDNo");
  timetable.Index = BuildTimetableIndex(timetable);
}

}  // namespace vormek
