#pragma once
// Full-pinyin spellings of the station names ("重庆北" -> "chongqingbei"),
// carried as the item "SQP": a table text with the columns Station (GBK) and
// Pinyin (lower-case letters). The station boxes match typed letters against
// them after the short codes.
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "data/item_set.h"
#include "data/mem_table.h"

namespace vormek {

class TFullPinyin {
 public:
  TFullPinyin() = default;
  // Throws ETableError when the table lacks the Station or Pinyin column.
  explicit TFullPinyin(const TMemTable& table);

  // The spelling of a station, or "" when it has none.
  std::string_view Of(std::string_view station) const;
  std::size_t Size() const { return spelling_.size(); }

 private:
  std::map<std::string, std::string, std::less<>> spelling_;
};

// The spellings of the item "SQP"; throws as the table loaders do when the
// item is missing or damaged.
TFullPinyin LoadFullPinyin(const TItemSet& items);

}  // namespace vormek
