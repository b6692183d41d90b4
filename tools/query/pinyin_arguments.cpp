#include "pinyin_arguments.h"

#include <filesystem>
#include <ostream>
#include <utility>

#include "cli_commands.h"
#include "data/errors.h"
#include "data/table_text_folder.h"
#include "stations/station_list.h"
#include "stations/station_text.h"

namespace vormek::cli {

namespace {

std::string Lower(std::string_view letters) {
  std::string out(letters);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

int GroupOf(TMemTable& KMSM, std::string_view station) {
  if (KMSM.ColumnCount() == 0 || !KMSM.Locate("Station", station)) return 0;
  return KMSM.FieldByName("Gp").AsInteger();
}

}  // namespace

TPinyinResolution ResolveLetters(TTimetable& tt, const TFullPinyin& pinyin, std::string_view letters) {
  TPinyinResolution result;
  const TMemTable& KMPy = tt.KMPy;
  if (KMPy.ColumnCount() == 0) return result;
  const std::string code = UpperAscii(letters);
  const std::string spelling = Lower(letters);
  const int station = KMPy.FieldByName("Station").Column();
  const int shortcode = KMPy.FieldByName("Shortcode").Column();
  for (int i = 0; i < KMPy.RecordCount(); ++i) {
    const std::string_view name = KMPy.ValueAt(i, station);
    if (KMPy.ValueAt(i, shortcode) == code || pinyin.Of(name) == spelling) result.Candidates.emplace_back(name);
  }
  if (result.Candidates.empty()) result.Candidates = MatchStation(KMPy, pinyin, letters);
  if (result.Candidates.empty()) return result;
  const int group = GroupOf(tt.KMSM, result.Candidates.front());
  bool oneCity = group != 0;
  for (const std::string& name : result.Candidates) oneCity = oneCity && GroupOf(tt.KMSM, name) == group;
  if (oneCity || result.Candidates.size() == 1) result.Station = result.Candidates.front();
  return result;
}

std::optional<int> ResolvePinyinArguments(TOptions& o, TTimetable& tt, const TFullPinyin& pinyin,
                                          const TTextCodec& codec, std::ostream& err) {
  // The boxes' stations, and the stations the other options name, whose
  // refusals name the letters themselves.
  std::vector<std::pair<std::string*, bool>> stations;
  if (o.Command != TCommand::TrainNumber && o.Command != TCommand::Stops) {
    for (std::string& arg : o.Args) stations.emplace_back(&arg, true);
  }
  if (o.Command == TCommand::Via) stations.emplace_back(&o.Via, false);
  if (o.HasBoard) stations.emplace_back(&o.Board, false);
  for (const auto& [arg, inBox] : stations) {
    const std::string letters(TrimBlanksAndControls(*arg));
    if (!IsAllLetters(letters)) continue;
    const TPinyinResolution r = ResolveLetters(tt, pinyin, letters);
    if (!r.Station.empty()) {
      *arg = codec.Output(r.Station);
    } else if (r.Candidates.empty() && inBox) {
      // Letters naming no station are a station that does not exist, as the
      // window says of a name it does not know; as letters the input check
      // would take them for a box left empty. The leading byte is one no
      // station name starts with (see TTextCodec::Argument).
      *arg = "\xff" + letters;
    } else if (!r.Candidates.empty()) {
      std::string list;
      for (const std::string& name : r.Candidates) list += (list.empty() ? "" : ",") + name;
      err << "vormek-query: " << letters << " names stations of more than one city: " << codec.Output(list) << '\n';
      return ExitRefused;
    }
  }
  return std::nullopt;
}

TFullPinyin LoadSpellings(const std::string& tablesDir, const TItemSet* items) {
  if (tablesDir.empty()) {
    if (items && items->Contains("SQP")) return LoadFullPinyin(*items);
    return {};
  }
  // Optional; read through the same checks as the four tables, and a
  // refusal names it as theirs do.
  const std::filesystem::path path = std::filesystem::path(tablesDir) / "SQP.txt";
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return {};
  try {
    TMemTable table;
    table.LoadFromOwnedText(ReadTableText(path));
    return TFullPinyin(table);
  } catch (const ETableFormatError& e) {
    throw ETimetableSourceError("SQP.txt", e.what(), e.line());
  } catch (const EVormekError& e) {
    throw ETimetableSourceError("SQP.txt", e.what());
  }
}

}  // namespace vormek::cli
