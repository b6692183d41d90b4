#pragma once
// Writes the four tables in the table text format "251": GBK, CR LF, every
// value quoted and followed by ",", records in their current index order.
#include <string>
#include <vector>

#include "full_pinyin.h"
#include "network.h"
#include "train_builder.h"

namespace vormek::builder {

struct TableTexts {
  std::string slist, strain, sm, spy;
  std::string sqp;  // full-pinyin spellings, an item beside the four
};

// Elapsed-time form of the tables: "0", minutes below an hour ("18"),
// otherwise "H:M" without padding ("1:1", "37:43").
std::string ElapsedText(int minutes);
// "HH:MM" of the clock at start + minutes.
std::string ClockText(int startClock, int minutes);

// Trains are sorted here (by number, byte order); the caller has checked them.
TableTexts WriteTables(const Network& network, std::vector<BuiltTrain> trains);

// The spellings in the same text format: columns Station and Pinyin.
std::string FullPinyinTableText(const std::vector<PinyinRow>& rows);

}  // namespace vormek::builder
