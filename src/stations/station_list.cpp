#include "stations/station_list.h"

#include <algorithm>
#include <set>

#include "stations/station_text.h"

namespace vormek {

std::vector<std::string> MatchShortCode(const TMemTable& KMPy, std::string_view letters) {
  std::vector<std::string> items;
  if (KMPy.ColumnCount() == 0) return items;
  const std::string code = UpperAscii(letters);
  const int station = KMPy.FieldByName("Station").Column();
  const int shortcode = KMPy.FieldByName("Shortcode").Column();
  const int count = KMPy.RecordCount();
  for (int i = 0; i < count; ++i) {
    const std::string_view sc = KMPy.ValueAt(i, shortcode);
    if (sc.size() >= code.size() && sc.compare(0, code.size(), code) == 0) {
      items.emplace_back(KMPy.ValueAt(i, station));
    }
  }
  return items;
}

void PadStationList(std::vector<std::string>& items) {
  if (items.size() < 8) items.resize(9);
}

std::vector<std::string> FillStationList(const TMemTable& KMPy, std::string_view letters) {
  std::vector<std::string> items = MatchShortCode(KMPy, letters);
  PadStationList(items);
  return items;
}

TListAction StationListAction(std::string_view trimmedText) {
  if (IsAllLetters(trimmedText)) return TListAction::Fill;
  if (trimmedText.empty()) return TListAction::ClearToEmpty;
  return TListAction::Keep;
}

std::vector<std::string> MatchStation(const TMemTable& KMPy, const TFullPinyin& pinyin, std::string_view text) {
  std::vector<std::string> items = MatchShortCode(KMPy, text);
  if (KMPy.ColumnCount() == 0 || text.empty()) return items;
  std::set<std::string, std::less<>> listed(items.begin(), items.end());
  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  const int station = KMPy.FieldByName("Station").Column();
  const int count = KMPy.RecordCount();
  auto add = [&](std::string_view name) {
    if (listed.insert(std::string(name)).second) items.emplace_back(name);
  };
  for (int i = 0; i < count; ++i) {
    const std::string_view name = KMPy.ValueAt(i, station);
    if (pinyin.Of(name).starts_with(lower)) add(name);
  }
  // Whole GBK characters on both sides: a byte prefix ends on a character.
  for (int i = 0; i < count; ++i) {
    const std::string_view name = KMPy.ValueAt(i, station);
    if (name.starts_with(text)) add(name);
  }
  return items;
}

TStationListUpdate UpdateStationList(const TMemTable& KMPy, const TFullPinyin* pinyin, std::string_view trimmedText) {
  TStationListUpdate update;
  update.Action = StationListAction(trimmedText);
  if (update.Action == TListAction::Fill) {
    update.Items = pinyin ? MatchStation(KMPy, *pinyin, trimmedText) : MatchShortCode(KMPy, trimmedText);
    PadStationList(update.Items);
    return update;
  }
  const bool chinese =
      std::any_of(trimmedText.begin(), trimmedText.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (update.Action != TListAction::Keep || !pinyin || !chinese) return update;
  std::vector<std::string> names = MatchStation(KMPy, *pinyin, trimmedText);
  if (names.empty() || std::find(names.begin(), names.end(), trimmedText) != names.end()) return update;
  update.Action = TListAction::Fill;
  update.Items = std::move(names);
  PadStationList(update.Items);
  return update;
}

TStationPick PickStation(const TMemTable& KMPy, const TFullPinyin& pinyin, std::string_view trimmedText) {
  TStationPick pick;
  const TStationListUpdate box = UpdateStationList(KMPy, &pinyin, trimmedText);
  if (box.Action != TListAction::Fill) return pick;
  for (const std::string& item : box.Items) {
    if (!item.empty()) pick.Candidates.push_back(item);
  }
  if (pick.Candidates.empty()) return pick;
  if (IsAllLetters(trimmedText)) {
    // Letters spelling a station in full leave out the stations they only
    // begin: "beijing" is 北京, not also 北京西.
    const std::string code = UpperAscii(trimmedText);
    std::string spelling(trimmedText);
    for (char& c : spelling) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    std::set<std::string, std::less<>> whole;
    const int station = KMPy.FieldByName("Station").Column();
    const int shortcode = KMPy.FieldByName("Shortcode").Column();
    for (int i = 0; i < KMPy.RecordCount(); ++i) {
      const std::string_view name = KMPy.ValueAt(i, station);
      if (KMPy.ValueAt(i, shortcode) == code || pinyin.Of(name) == spelling) whole.emplace(name);
    }
    if (!whole.empty()) std::erase_if(pick.Candidates, [&](const std::string& name) { return !whole.contains(name); });
  }
  pick.Station = pick.Candidates.front();
  return pick;
}

}  // namespace vormek
