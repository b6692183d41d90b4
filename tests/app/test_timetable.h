#pragma once
// Items for window and loader tests: the four tables compressed exactly like
// the program's own items (4-byte length, zlib stream), either from a tiny
// timetable written here or from the shared national tables.
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "data/item_set.h"
#include "support/item_packing.h"

namespace vormek::test {

class TTestItems {
 public:
  // text is the item's content as bytes (GBK for tables).
  void Add(const std::string& name, std::string_view text) { Store(name, testing::PackItem(text, Z_BEST_SPEED)); }
  // An item whose stream is damaged.
  void AddDamaged(const std::string& name) {
    Store(name, std::vector<unsigned char>{16, 0, 0, 0, 0x78, 0x9C, 1, 2, 3});
  }

  const TItemSet& Items() const { return set_; }

 private:
  void Store(const std::string& name, std::vector<unsigned char> stored) {
    names_.push_back(name);
    data_.push_back(std::move(stored));
    std::vector<TEmbeddedItem> items;
    for (std::size_t i = 0; i < names_.size(); ++i)
      items.push_back({names_[i].c_str(), data_[i].data(), data_[i].size()});
    set_ = TItemSet(std::move(items));
  }
  std::deque<std::string> names_;
  std::deque<std::vector<unsigned char>> data_;
  TItemSet set_;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The national tables, or nullopt when the folder is absent.
inline std::optional<TTestItems> SharedTimetableItems() {
#ifdef VORMEK_SHARED_TIMETABLES
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) return std::nullopt;
  TTestItems items;
  items.Add("SPY", ReadFile(dir / "SPY.txt"));
  items.Add("SList", ReadFile(dir / "SLIST.txt"));
  items.Add("SM", ReadFile(dir / "SM.txt"));
  items.Add("STrain", ReadFile(dir / "STRAIN.txt"));
  return items;
#else
  return std::nullopt;
#endif
}

// ---- a tiny timetable (UTF-8 here; callers convert to GBK) ----------------

inline const char* TinyPinyinTable() {
  return R"("@@FILE VERSION@@","251"
"@@TABLEDEF START@@"
"Station=WideString,20,""Station"","""",20,Data,"""""
"Shortcode=WideString,10,""Shortcode"","""",10,Data,"""""
"@@INDEXDEF START@@"
"PyIndex=""ShortCode"",""PyIndex"""
"StationIndex=""Station"",""StationIndex"""
"@@INDEXDEF END@@"
"@@TABLEDEF END@@"
"Station","Shortcode",
"北京","BJ",
"北京西","BJX",
"北京南","BJN",
"宝鸡","BJ",
"北滘","BJ",
"白涧西","BJX",
"上海","SH",
"上海虹桥","SHHQ",
"天津","TJ",
"松江","SJ",
"西安","XA",
)";
}

inline const char* TinyGroupTable() {
  return R"("@@FILE VERSION@@","251"
"@@TABLEDEF START@@"
"Station=WideString,20,""Station"","""",20,Data,"""""
"Gp=Integer,0,""Gp"","""",10,Data,"""""
"@@INDEXDEF START@@"
"SStation=""Station"",""SStation"",UNIQ"
"SGp=""Gp"",""SGp"""
"@@INDEXDEF END@@"
"@@TABLEDEF END@@"
"Station","Gp",
"上海","2",
"上海虹桥","2",
"北京","1",
"北京南","1",
"北京西","1",
)";
}

inline const char* TinyTrainList() {
  return R"("@@FILE VERSION@@","251"
"@@TABLEDEF START@@"
"ID=WideString,35,""ID"","""",35,Data,"""""
"NType=SmallInt,0,""NType"","""",10,Data,"""""
"StartStation=WideString,20,""StartStation"","""",20,Data,"""""
"endStation=WideString,20,""endStation"","""",20,Data,"""""
"A_Time=WideString,20,""A_Time"","""",20,Data,"""""
"D_Time=WideString,20,""D_Time"","""",20,Data,"""""
"R_Date=WideString,20,""R_Date"","""",20,Data,"""""
"Distance=Integer,0,""Distance"","""",10,Data,"""""
"P1=WideString,20,""P1"","""",20,Data,"""""
"P2=WideString,20,""P2"","""",20,Data,"""""
"P3=WideString,20,""P3"","""",20,Data,"""""
"P4=WideString,20,""P4"","""",20,Data,"""""
"@@INDEXDEF START@@"
"SID=""ID"",""SID"",UNIQ"
"@@INDEXDEF END@@"
"@@TABLEDEF END@@"
"ID","NType","StartStation","endStation","A_Time","D_Time","R_Date","Distance","P1","P2","P3","P4",
"1461","9","北京","上海","11:54","08:08","20:14","1463","156","-","283/293/303","436/456",
"D313","1","北京南","上海","19:34","07:42","12:8","1460","309","371","-","-",
"G1","2","北京南","上海虹桥","09:00","13:28","4:28","1318","553","933","-","-",
"K99","6","天津","松江","20:00","09:20","13:20","1200","120","-","220/230/240","340/360",
"T7","5","西安","天津","06:00","18:00","12:0","1100","110","-","200/210/220","320/340",
)";
}

inline const char* TinyStopTable() {
  return R"("@@FILE VERSION@@","251"
"@@TABLEDEF START@@"
"ID=WideString,35,""ID"","""",35,Data,"""""
"Station=WideString,20,""Station"","""",20,Data,"""""
"S_No=Integer,0,""S_No"","""",10,Data,"""""
"A_Time=WideString,20,""A_Time"","""",20,Data,"""""
"D_Time=WideString,20,""D_Time"","""",20,Data,"""""
"R_Date=WideString,20,""R_Date"","""",20,Data,"""""
"Distance=Integer,0,""Distance"","""",10,Data,"""""
"P1=WideString,20,""P1"","""",20,Data,"""""
"P2=WideString,20,""P2"","""",20,Data,"""""
"P3=WideString,20,""P3"","""",20,Data,"""""
"P4=WideString,20,""P4"","""",20,Data,"""""
"@@INDEXDEF START@@"
"SIDNo=""ID;S_No"",""SIDNo"",UNIQ"
"SStation=""Station"",""SStation"""
"@@INDEXDEF END@@"
"@@TABLEDEF END@@"
"ID","Station","S_No","A_Time","D_Time","R_Date","Distance","P1","P2","P3","P4",
"1461","北京","1","","11:54","0","0","","","","",
"1461","天津","2","13:30","13:36","1:36","137","20","-","60/62/64","90/95",
"1461","上海","3","08:08","","20:14","1463","156","-","283/293/303","436/456",
"D313","北京南","1","","19:34","0","0","","","","",
"D313","上海","2","07:42","","12:8","1460","309","371","-","-",
"G1","北京南","1","","09:00","0","0","","","","",
"G1","天津","2","09:30","09:32","30","120","55","90","-","-",
"G1","上海虹桥","3","13:28","","4:28","1318","553","933","-","-",
"K99","天津","1","","20:00","0","0","","","","",
"K99","上海","2","06:00","06:10","10:0","1100","110","-","200/210/220","320/340",
"K99","松江","3","09:20","","13:20","1200","120","-","220/230/240","340/360",
"T7","西安","1","","06:00","0","0","","","","",
"T7","天津","2","18:00","","12:0","1100","110","-","200/210/220","320/340",
)";
}

// The tiny timetable as items. toBytes turns this file's literals into the
// tables' GBK (the identity where literals are compiled to GBK already).
// Items named in missing are left out; those in damaged get a broken stream.
template <class ToBytes>
TTestItems TinyTimetableItems(ToBytes toBytes, const std::vector<std::string>& missing = {},
                              const std::vector<std::string>& damaged = {}) {
  auto crlf = [](std::string_view text) {
    std::string out;
    for (char ch : text) {
      if (ch == '\n') out += '\r';
      out += ch;
    }
    return out;
  };
  auto listed = [](const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
      if (n == name) return true;
    return false;
  };
  TTestItems items;
  const std::pair<std::string, const char*> tables[] = {
      {"SPY", TinyPinyinTable()}, {"SList", TinyTrainList()}, {"SM", TinyGroupTable()}, {"STrain", TinyStopTable()}};
  for (const auto& [name, text] : tables) {
    if (listed(missing, name)) continue;
    if (listed(damaged, name)) {
      items.AddDamaged(name);
    } else {
      items.Add(name, crlf(toBytes(std::string(text))));
    }
  }
  return items;
}

}  // namespace vormek::test
