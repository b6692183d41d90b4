#include "data/timetable.h"

#include <fstream>
#include <iterator>
#include <string>

#include "data/errors.h"
#include "data/inflate_item.h"

namespace vormek {

namespace {

void LoadStep(const TItemSet& items, std::string_view item, TMemTable& table, std::string_view index) {
  // The inflated text lives only for this step; the table keeps its own copy.
  const std::string text = DecompressItem(items, item);
  table.LoadFromText(text);
  table.SetIndexName(index);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EItemError("cannot open " + path.string());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EItemError("cannot read " + path.string());
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
}

void LoadTimetableFromDirectory(const std::filesystem::path& dir, TTimetable& timetable) {
  // Read all four first, so that a missing file leaves no table half loaded.
  const std::string spy = ReadWholeFile(dir / "SPY.txt");
  const std::string slist = ReadWholeFile(dir / "SLIST.txt");
  const std::string sm = ReadWholeFile(dir / "SM.txt");
  const std::string strain = ReadWholeFile(dir / "STRAIN.txt");
  timetable.KMPy.LoadFromText(spy);
  timetable.KMList.LoadFromText(slist);
  timetable.KMList.SetIndexName("SID");
  timetable.KMSM.LoadFromText(sm);
  timetable.KMSM.SetIndexName("SStation");
  timetable.KMTrain.LoadFromText(strain);
  timetable.KMTrain.SetIndexName("SIDNo");
}

}  // namespace vormek
