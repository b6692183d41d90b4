#pragma once
// Small timetables written as the four table texts (format "251") with the
// tests' one table text writer, loaded through the real table reader.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "data/timetable.h"
#include "support/table_text.h"

namespace vormek::fixture {

struct Stop {
  std::string station;
  std::string a;  // arrival, empty at the origin
  std::string d;  // departure, empty at the terminal
  std::string r;  // elapsed time since the origin
  int km = 0;
  std::string p1, p2, p3, p4;
};

struct Train {
  std::string id;
  int type = 9;
  std::vector<Stop> stops;
  bool listed = true;  // false: no train list record
};

struct Tables {
  std::vector<Train> trains;
  std::vector<std::pair<std::string, int>> groups;          // station, Gp
  std::vector<std::pair<std::string, std::string>> pinyin;  // station, short code, in list order
};

using testing::Row;
using testing::Single;

inline std::string Text(const std::vector<std::string>& defs, const std::vector<std::string>& indexes,
                        const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows) {
  std::string t = "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n";
  for (const std::string& d : defs) t += Single(d);
  t += "\"@@INDEXDEF START@@\"\r\n";
  for (const std::string& i : indexes) t += Single(i);
  t += "\"@@INDEXDEF END@@\"\r\n\"@@TABLEDEF END@@\"\r\n";
  t += Row(header);
  for (const auto& r : rows) t += Row(r);
  return t;
}

inline std::string Str(const std::string& name, int size) {
  return name + "=WideString," + std::to_string(size) + ",\"" + name + "\",\"\"," + std::to_string(size) + ",Data,\"\"";
}
inline std::string Int(const std::string& name, const char* type = "Integer") {
  return name + "=" + type + ",0,\"" + name + "\",\"\",10,Data,\"\"";
}

inline std::string StopText(std::vector<Train> trains) {
  std::sort(trains.begin(), trains.end(), [](const Train& x, const Train& y) { return x.id < y.id; });
  std::vector<std::vector<std::string>> rows;
  for (const Train& t : trains) {
    int no = 0;
    for (const Stop& s : t.stops) {
      rows.push_back(
          {t.id, s.station, std::to_string(++no), s.a, s.d, s.r, std::to_string(s.km), s.p1, s.p2, s.p3, s.p4});
    }
  }
  return Text({Str("ID", 35), Str("Station", 20), Int("S_No"), Str("A_Time", 20), Str("D_Time", 20), Str("R_Date", 20),
               Int("Distance"), Str("P1", 20), Str("P2", 20), Str("P3", 20), Str("P4", 20)},
              {"SIDNo=\"ID;S_No\",\"SIDNo\",UNIQ", "SStation=\"Station\",\"SStation\""},
              {"ID", "Station", "S_No", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"}, rows);
}

// The list record repeats the first and last stops, as in the shipped data.
inline std::string ListText(std::vector<Train> trains) {
  std::sort(trains.begin(), trains.end(), [](const Train& x, const Train& y) { return x.id < y.id; });
  std::vector<std::vector<std::string>> rows;
  for (const Train& t : trains) {
    if (!t.listed || t.stops.empty()) continue;
    const Stop& f = t.stops.front();
    const Stop& l = t.stops.back();
    rows.push_back({t.id, std::to_string(t.type), f.station, l.station, f.d, l.a, l.r, std::to_string(l.km), l.p1, l.p2,
                    l.p3, l.p4});
  }
  return Text(
      {Str("ID", 35), Int("NType", "SmallInt"), Str("StartStation", 20), Str("endStation", 20), Str("A_Time", 20),
       Str("D_Time", 20), Str("R_Date", 20), Int("Distance"), Str("P1", 20), Str("P2", 20), Str("P3", 20),
       Str("P4", 20)},
      {"SID=\"ID\",\"SID\",UNIQ", "SstartStation=\"startStation\",\"SstartStation\""},
      {"ID", "NType", "StartStation", "endStation", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"},
      rows);
}

inline std::string GroupText(std::vector<std::pair<std::string, int>> groups) {
  std::sort(groups.begin(), groups.end());
  std::vector<std::vector<std::string>> rows;
  for (const auto& [s, g] : groups) rows.push_back({s, std::to_string(g)});
  return Text({Str("Station", 20), Int("Gp")}, {"SStation=\"Station\",\"SStation\",UNIQ", "SGp=\"Gp\",\"SGp\""},
              {"Station", "Gp"}, rows);
}

inline std::string PinyinText(const std::vector<std::pair<std::string, std::string>>& pinyin) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& [s, c] : pinyin) rows.push_back({s, c});
  return Text({Str("Station", 20), Str("Shortcode", 10)},
              {"PyIndex=\"ShortCode\",\"PyIndex\"", "StationIndex=\"Station\",\"StationIndex\""},
              {"Station", "Shortcode"}, rows);
}

// Every station a train calls at is enterable unless listed otherwise.
inline void Load(const Tables& t, TTimetable& tt) {
  auto pinyin = t.pinyin;
  if (pinyin.empty()) {
    for (const Train& tr : t.trains)
      for (const Stop& s : tr.stops)
        if (std::none_of(pinyin.begin(), pinyin.end(), [&](const auto& p) { return p.first == s.station; }))
          pinyin.emplace_back(s.station, "X");
  }
  tt.KMList.LoadFromText(ListText(t.trains));
  tt.KMList.SetIndexName("SID");
  tt.KMTrain.LoadFromText(StopText(t.trains));
  tt.KMTrain.SetIndexName("SIDNo");
  tt.KMSM.LoadFromText(GroupText(t.groups));
  tt.KMSM.SetIndexName("SStation");
  tt.KMPy.LoadFromText(PinyinText(pinyin));
  tt.Index = BuildTimetableIndex(tt);
}

// A stop in one line: station, arrival, departure, elapsed time, km.
inline Stop S(std::string station, std::string a, std::string d, std::string r, int km) {
  return Stop{std::move(station), std::move(a), std::move(d), std::move(r), km, "", "", "", ""};
}

}  // namespace vormek::fixture
