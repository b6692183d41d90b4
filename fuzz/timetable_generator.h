#pragma once
// Timetable texts made from fuzz input: eight stations, up to eight trains of
// two to eight stops, sane or with absurd values here and there. Sane()
// tells whether every value came out sane.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/timetable.h"

namespace vormek::fuzz {

// GBK: 北京 北京西 天津 上海 南京 济南 徐州 保定 (this build keeps its
// literals in UTF-8, so the bytes are spelled out).
const char* const kStations[] = {"\xb1\xb1\xbe\xa9", "\xb1\xb1\xbe\xa9\xce\xf7", "\xcc\xec\xbd\xf2",
                                 "\xc9\xcf\xba\xa3", "\xc4\xcf\xbe\xa9",         "\xbc\xc3\xc4\xcf",
                                 "\xd0\xec\xd6\xdd", "\xb1\xa3\xb6\xa8"};
const char* const kCodes[] = {"BJ", "BJX", "TJ", "SH", "NJ", "JN", "XZ", "BD"};
const char* const kTrainIds[] = {"G1", "D2", "K3", "T4", "Z5", "1461", "K1002/K1003", "T100A"};
const char* const kWildNumbers[] = {"2147483647", "-2147483648", "-1",    "0",     "999",
                                    "1000",       "20000",       "20001", "65535", ""};
const char* const kWildTimes[] = {
    "2147483647:59", "9999:59", "10000:0", "1:234", "abc", "", "-5", "1:", "99999999", "0:60", ":", "1::2"};
const char* const kWildFares[] = {"1e300",       "-",        "",         "inf",
                                  "100000",      "100000.5", "abc",      "-5",
                                  "12/13/14/15", "1/2",      "0.000001", "99999999999999999999"};

class TGenerator {
 public:
  explicit TGenerator(FuzzedDataProvider& in) : in_(in) {}

  bool Sane() const { return sane_; }

  TTimetableTexts Texts() {
    TTimetableTexts texts;
    texts.SPY = Preamble({"Station=WideString,20", "Shortcode=WideString,10"}, {}) + Row({"Station", "Shortcode"});
    for (std::size_t i = 0; i < 8; ++i) texts.SPY += Row({kStations[i], kCodes[i]});
    texts.SM = Preamble({"Station=WideString,20", "Gp=Integer,0"}, {"SStation=\"Station\",\"SStation\",UNIQ"}) +
               Row({"Station", "Gp"});
    for (std::size_t i = 0; i < 8; ++i) {
      const std::int32_t group = in_.ConsumeIntegralInRange<std::int32_t>(1, 3);
      // A station of no group, but never all of them: a load refuses a
      // table without records.
      if (group != 3 || i < 2) texts.SM += Row({kStations[i], std::to_string(i < 2 ? 1 : group + 1 + int(i) / 3)});
    }
    texts.STRAIN = Preamble({"ID=WideString,35", "Station=WideString,20", "S_No=Integer,0", "A_Time=WideString,20",
                             "D_Time=WideString,20", "R_Date=WideString,20", "Distance=Integer,0", "P1=WideString,20",
                             "P2=WideString,20", "P3=WideString,20", "P4=WideString,20"},
                            {"SIDNo=\"ID;S_No\",\"SIDNo\",UNIQ"}) +
                   Row({"ID", "Station", "S_No", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"});
    texts.SLIST =
        Preamble({"ID=WideString,35", "NType=SmallInt,0", "StartStation=WideString,20", "endStation=WideString,20",
                  "A_Time=WideString,20", "D_Time=WideString,20", "R_Date=WideString,20", "Distance=Integer,0",
                  "P1=WideString,20", "P2=WideString,20", "P3=WideString,20", "P4=WideString,20"},
                 {"SID=\"ID\",\"SID\",UNIQ"}) +
        Row({"ID", "NType", "StartStation", "endStation", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3",
             "P4"});
    const int trains = in_.ConsumeIntegralInRange(1, 8);
    for (int t = 0; t < trains; ++t) AddTrain(kTrainIds[t], texts);
    return texts;
  }

 private:
  bool Wild() {
    // Running out of bytes gives 0: the rest of the table comes out sane.
    const bool wild = in_.ConsumeIntegralInRange(0, 15) == 15;
    sane_ = sane_ && !wild;
    return wild;
  }
  template <std::size_t N>
  std::string Pick(const char* const (&list)[N]) {
    return list[in_.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
  }
  std::string Clock() {
    const int h = in_.ConsumeIntegralInRange(0, 23);
    const int m = in_.ConsumeIntegralInRange(0, 59);
    return (h < 10 ? "0" : "") + std::to_string(h) + (m < 10 ? ":0" : ":") + std::to_string(m);
  }
  static std::string Elapsed(int minutes) {
    if (minutes < 60) return std::to_string(minutes);
    return std::to_string(minutes / 60) + ":" + std::to_string(minutes % 60);
  }
  std::string Fare(int km, int seatClass, bool first) {
    if (first) return "";
    if (Wild()) return Pick(kWildFares);
    if (in_.ConsumeBool()) return "-";
    const int base = km / 10 + 1 + seatClass * 5;
    switch (seatClass) {
      case 0: return in_.ConsumeBool() ? std::to_string(base) : std::to_string(base) + ".5";
      case 1: return std::to_string(base);
      case 2: return std::to_string(base) + "/" + std::to_string(base + 10) + "/" + std::to_string(base + 20);
      default: return std::to_string(base) + "/" + std::to_string(base + 15);
    }
  }

  void AddTrain(const std::string& id, TTimetableTexts& texts) {
    const int stops = in_.ConsumeIntegralInRange(2, 8);
    int km = 0;
    int minutes = 0;
    std::string first, last, start, end, rdate, distance;
    std::string fares[4];
    for (int s = 0; s < stops; ++s) {
      const std::string station = Pick(kStations);
      const std::string no = Wild() ? Pick(kWildNumbers) : std::to_string(s + 1);
      if (s > 0) {
        km += in_.ConsumeIntegralInRange(0, 2500);
        minutes += in_.ConsumeIntegralInRange(0, 600);
      }
      distance = Wild() ? Pick(kWildNumbers) : std::to_string(km);
      rdate = Wild() ? Pick(kWildTimes) : Elapsed(minutes);
      const std::string arrive = s == 0 ? "" : Clock();
      const std::string leave = s + 1 == stops ? "" : Clock();
      for (int c = 0; c < 4; ++c) fares[c] = Fare(km, c, s == 0);
      texts.STRAIN += Row({id, station, no, arrive, leave, rdate, distance, fares[0], fares[1], fares[2], fares[3]});
      if (s == 0) {
        start = station;
        first = leave;
      }
      end = station;
      last = arrive;
    }
    const std::string type = Wild() ? std::to_string(in_.ConsumeIntegral<std::int16_t>())
                                    : std::to_string(in_.ConsumeIntegralInRange(1, 14));
    texts.SLIST += Row({id, type, start, end, first, last, rdate, distance, fares[0], fares[1], fares[2], fares[3]});
  }

  static std::string Quote(const std::string& v) {
    std::string out = "\"";
    for (char c : v) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
  }
  static std::string Row(const std::vector<std::string>& values) {
    std::string line;
    for (const std::string& v : values) line += Quote(v) + ",";
    return line + "\r\n";
  }
  // "Name=Type,size" columns; index lines as they stand between the quotes.
  static std::string Preamble(const std::vector<std::string>& columns, const std::vector<std::string>& indexes) {
    std::string text = "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n";
    for (const std::string& c : columns) {
      const std::string name = c.substr(0, c.find('='));
      text += Quote(c + ",\"" + name + "\",\"\",20,Data,\"\"") + "\r\n";
    }
    text += "\"@@INDEXDEF START@@\"\r\n";
    for (const std::string& i : indexes) text += Quote(i) + "\r\n";
    return text + "\"@@INDEXDEF END@@\"\r\n\"@@TABLEDEF END@@\"\r\n";
  }

  FuzzedDataProvider& in_;
  bool sane_ = true;
};

}  // namespace vormek::fuzz
