#pragma once
// Packs content into the item container the program carries: a 4-byte
// little-endian length, then one zlib stream at the strongest level.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vormek::pack {

std::vector<unsigned char> PackItem(std::string_view content);

struct NamedItem {
  std::string name;  // "SLIST", "LOGO", ...
  std::vector<unsigned char> stored;
};

// A C++ source defining vormek::EmbeddedItems() over these items.
void WriteItemsSource(const std::vector<NamedItem>& items, std::ostream& out);

// The twelve item names and the files they come from in a table folder and a
// picture folder: SLIST.txt ... SPY.txt, LOGO.bmp ... B7.bmp.
struct ItemSource {
  const char* name;
  const char* file;
  bool table;
};
const std::vector<ItemSource>& ItemSources();

// Items packed after the twelve when their file is in the table folder: the
// full-pinyin spellings SQP.txt. A timetable without them still packs.
const std::vector<ItemSource>& OptionalItemSources();

}  // namespace vormek::pack
