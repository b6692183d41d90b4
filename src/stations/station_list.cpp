#include "stations/station_list.h"

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

}  // namespace vormek
