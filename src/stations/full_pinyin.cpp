#include "stations/full_pinyin.h"

#include "data/inflate_item.h"

namespace vormek {

TFullPinyin::TFullPinyin(const TMemTable& table) {
  const int station = table.FieldByName("Station").Column();
  const int pinyin = table.FieldByName("Pinyin").Column();
  for (int i = 0; i < table.RecordCount(); ++i) {
    // First spelling of a name counts, as in the sources.
    spelling_.try_emplace(std::string(table.ValueAt(i, station)), table.ValueAt(i, pinyin));
  }
}

std::string_view TFullPinyin::Of(std::string_view station) const {
  auto it = spelling_.find(station);
  return it == spelling_.end() ? std::string_view() : std::string_view(it->second);
}

TFullPinyin LoadFullPinyin(const TItemSet& items) {
  TMemTable table;
  table.LoadFromOwnedText(DecompressItem(items, "SQP"));
  return TFullPinyin(table);
}

}  // namespace vormek
