#include "table_text.h"

#include <algorithm>

namespace vormek::builder {
namespace {

constexpr const char* kCrLf = "\r\n";

struct Column {
  const char* name;
  const char* type;
  int size;
  int width;
};

constexpr Column kListColumns[] = {
    {"ID", "WideString", 35, 35},         {"NType", "SmallInt", 0, 10},     {"StartStation", "WideString", 20, 20},
    {"endStation", "WideString", 20, 20}, {"A_Time", "WideString", 20, 20}, {"D_Time", "WideString", 20, 20},
    {"R_Date", "WideString", 20, 20},     {"Distance", "Integer", 0, 10},   {"P1", "WideString", 20, 20},
    {"P2", "WideString", 20, 20},         {"P3", "WideString", 20, 20},     {"P4", "WideString", 20, 20}};
constexpr Column kStopColumns[] = {
    {"ID", "WideString", 35, 35},     {"Station", "WideString", 20, 20}, {"S_No", "Integer", 0, 10},
    {"A_Time", "WideString", 20, 20}, {"D_Time", "WideString", 20, 20},  {"R_Date", "WideString", 20, 20},
    {"Distance", "Integer", 0, 10},   {"P1", "WideString", 20, 20},      {"P2", "WideString", 20, 20},
    {"P3", "WideString", 20, 20},     {"P4", "WideString", 20, 20}};
constexpr Column kGroupColumns[] = {{"Station", "WideString", 20, 20}, {"Gp", "Integer", 0, 10}};
constexpr Column kPinyinColumns[] = {{"Station", "WideString", 20, 20}, {"Shortcode", "WideString", 10, 10}};
constexpr Column kFullPinyinColumns[] = {{"Station", "WideString", 20, 20},
                                         {"Pinyin", "WideString", kSpellingChars, kSpellingChars}};

std::string Quoted(std::string_view value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void Row(std::string& out, std::initializer_list<std::string_view> values) {
  for (std::string_view v : values) out += Quoted(v) + ",";
  out += kCrLf;
}

template <std::size_t N>
std::string Header(const Column (&columns)[N], std::initializer_list<std::string_view> indexes) {
  std::string out;
  out += "\"@@FILE VERSION@@\",\"251\"";
  out += kCrLf;
  out += "\"@@TABLEDEF START@@\"";
  out += kCrLf;
  for (const Column& c : columns) {
    std::string def = std::string(c.name) + "=" + c.type + "," + std::to_string(c.size) + ",\"" + c.name + "\",\"\"," +
                      std::to_string(c.width) + ",Data,\"\"";
    out += Quoted(def) + kCrLf;
  }
  out += "\"@@INDEXDEF START@@\"";
  out += kCrLf;
  for (std::string_view index : indexes) out += Quoted(index) + kCrLf;
  out += "\"@@INDEXDEF END@@\"";
  out += kCrLf;
  out += "\"@@TABLEDEF END@@\"";
  out += kCrLf;
  for (const Column& c : columns) out += Quoted(c.name) + ",";
  out += kCrLf;
  return out;
}

}  // namespace

std::string ElapsedText(int minutes) {
  if (minutes < 60) return std::to_string(minutes);
  return std::to_string(minutes / 60) + ":" + std::to_string(minutes % 60);
}

std::string ClockText(int startClock, int minutes) {
  int clock = (startClock + minutes) % (24 * 60);
  char text[8];
  text[0] = static_cast<char>('0' + clock / 600);
  text[1] = static_cast<char>('0' + clock / 60 % 10);
  text[2] = ':';
  text[3] = static_cast<char>('0' + clock % 60 / 10);
  text[4] = static_cast<char>('0' + clock % 10);
  return std::string(text, 5);
}

TableTexts WriteTables(const Network& network, std::vector<BuiltTrain> trains) {
  std::sort(trains.begin(), trains.end(), [](const BuiltTrain& a, const BuiltTrain& b) { return a.id < b.id; });
  TableTexts out;
  out.slist = Header(kListColumns, {"SID=\"ID\",\"SID\",UNIQ", "SstartStation=\"startStation\",\"SstartStation\"",
                                    "SendStation=\"endStation\",\"SendStation\""});
  out.strain = Header(kStopColumns, {"SIDNo=\"ID;S_No\",\"SIDNo\",UNIQ", "SStation=\"Station\",\"SStation\""});
  out.sm = Header(kGroupColumns, {"SStation=\"Station\",\"SStation\",UNIQ", "SGp=\"Gp\",\"SGp\""});
  out.spy = Header(kPinyinColumns, {"PyIndex=\"ShortCode\",\"PyIndex\"", "StationIndex=\"Station\",\"StationIndex\""});

  for (const BuiltTrain& t : trains) {
    const BuiltStop& first = t.stops.front();
    const BuiltStop& end = t.stops[t.listEnd];
    const FareTexts& f = end.fares;
    Row(out.slist, {t.id, std::to_string(t.type), first.station, end.station, ClockText(t.startClock, 0),
                    ClockText(t.startClock, end.arrival), ElapsedText(end.arrival), std::to_string(end.km), f[0], f[1],
                    f[2], f[3]});
    for (std::size_t i = 0; i < t.stops.size(); ++i) {
      const BuiltStop& s = t.stops[i];
      Row(out.strain, {t.id, s.station, std::to_string(i + 1), s.arrival < 0 ? "" : ClockText(t.startClock, s.arrival),
                       s.departure < 0 ? "" : ClockText(t.startClock, s.departure), ElapsedText(std::max(0, s.arrival)),
                       std::to_string(s.km), s.fares[0], s.fares[1], s.fares[2], s.fares[3]});
    }
  }
  for (const auto& [station, group] : network.groupRows) Row(out.sm, {station, std::to_string(group)});
  for (const std::string& station : network.pinyinOrder) Row(out.spy, {station, network.stations.at(station).code});
  return out;
}

std::string FullPinyinTableText(const std::vector<PinyinRow>& rows) {
  std::string out = Header(kFullPinyinColumns, {"SStation=\"Station\",\"SStation\",UNIQ"});
  for (const PinyinRow& row : rows) Row(out, {row.station, row.spelling});
  return out;
}

}  // namespace vormek::builder
