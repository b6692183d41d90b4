#include "station_arguments.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <utility>

#include "cli_commands.h"
#include "data/errors.h"
#include "data/table_text_folder.h"
#include "stations/station_list.h"
#include "stations/station_text.h"

namespace vormek::cli {

namespace {

// Shown on err when a text may stand for several stations; a short code of
// one letter may stand for hundreds.
constexpr std::size_t kCandidatesShown = 10;

bool HoldsNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string CandidateList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size() && i < kCandidatesShown; ++i) list += (i ? ", " : "") + names[i];
  if (names.size() > kCandidatesShown) list += ", ... (" + std::to_string(names.size()) + " in all)";
  return list;
}

}  // namespace

void ResolveStationArguments(TOptions& o, TTimetable& tt, const std::function<TFullPinyin()>& loadSpellings,
                             const TTextCodec& codec, std::ostream& err) {
  // The boxes' stations, and the stations the other options name, which
  // keep letters that name nothing: their own messages name the letters.
  std::vector<std::pair<std::string*, bool>> stations;
  if (o.Command != TCommand::TrainNumber && o.Command != TCommand::Stops && o.Command != TCommand::Stations) {
    for (std::string& arg : o.Args) stations.emplace_back(&arg, true);
  }
  if (o.Command == TCommand::Via) stations.emplace_back(&o.Via, false);
  if (o.HasBoard) stations.emplace_back(&o.Board, false);
  std::optional<TFullPinyin> spellings;
  for (const auto& [arg, inBox] : stations) {
    const std::string gbk = codec.Argument(*arg);
    const std::string_view text = TrimBlanksAndControls(gbk);
    const bool letters = IsAllLetters(text);
    // A whole name, or a text no box lists anything for, stays as typed.
    if (!letters && (!HoldsNonAscii(text) || tt.KMPy.ColumnCount() == 0 || tt.KMPy.Locate("Station", text))) continue;
    if (!spellings) spellings = loadSpellings();
    const TStationPick pick = PickStation(tt.KMPy, *spellings, text);
    if (pick.Station.empty()) {
      // The leading byte is one no station name starts with (see
      // TTextCodec::Argument).
      if (letters && inBox) *arg = "\xff" + std::string(text);
      continue;
    }
    if (pick.Candidates.size() > 1) {
      err << "vormek-query: " << Echo(*arg, codec.Gbk()) << " may stand for "
          << codec.Output(CandidateList(pick.Candidates)) << "; taking " << codec.Output(pick.Station) << '\n';
    }
    *arg = codec.Output(pick.Station);
  }
}

int ListStations(const TOptions& o, TTimetable& tt, const std::function<TFullPinyin()>& loadSpellings,
                 const TTextCodec& codec, std::ostream& out) {
  const TMemTable& KMPy = tt.KMPy;
  if (KMPy.ColumnCount() == 0) return ExitOk;
  const std::string prefix = o.Args.empty() ? std::string() : codec.Argument(o.Args.front());
  const std::string_view text = TrimBlanksAndControls(prefix);
  std::vector<std::string> names;
  if (text.empty()) {
    const int station = KMPy.FieldByName("Station").Column();
    for (int i = 0; i < KMPy.RecordCount(); ++i) names.emplace_back(KMPy.ValueAt(i, station));
  } else {
    names = MatchStation(KMPy, loadSpellings(), text);
  }
  std::string lines;
  for (const std::string& name : names) lines += name + '\n';
  out << codec.Output(lines);
  return ExitOk;
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
