#pragma once
// The one writer of small table texts in format "251" for every test, so
// tests read like the stored tables without spelling every doubled quote and
// CR LF by hand.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vormek::testing {

inline std::string Quote(std::string_view value) {
  std::string out = "\"";
  for (char c : value) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

// A line of fields each followed by "," (header and data rows).
inline std::string Row(std::initializer_list<std::string_view> values) {
  std::string line;
  for (std::string_view v : values) line += Quote(v) + ",";
  return line + "\r\n";
}

inline std::string Row(const std::vector<std::string>& values) {
  std::string line;
  for (const std::string& v : values) line += Quote(v) + ",";
  return line + "\r\n";
}

// A line of one quoted field (markers and definitions).
inline std::string Single(std::string_view text) { return Quote(text) + "\r\n"; }

inline std::string ColumnDef(std::string_view name, std::string_view type, int size, int width) {
  const std::string n(name);
  return Single(n + "=" + std::string(type) + "," + std::to_string(size) + ",\"" + n + "\",\"\"," +
                std::to_string(width) + ",Data,\"\"");
}

inline std::string IndexDef(std::string_view name, std::string_view columns, bool unique) {
  const std::string n(name);
  return Single(n + "=\"" + std::string(columns) + "\",\"" + n + "\"" + (unique ? ",UNIQ" : ""));
}

// Everything up to the header row: columnDefs and indexDefs are lines made
// with ColumnDef and IndexDef.
inline std::string Preamble(const std::string& columnDefs, const std::string& indexDefs) {
  return "\"@@FILE VERSION@@\",\"251\"\r\n" + Single("@@TABLEDEF START@@") + columnDefs + Single("@@INDEXDEF START@@") +
         indexDefs + Single("@@INDEXDEF END@@") + Single("@@TABLEDEF END@@");
}

// A stop table in the layout of the stored one (11 columns, SIDNo unique).
inline std::string StopTablePreamble() {
  return Preamble(ColumnDef("ID", "WideString", 35, 35) + ColumnDef("Station", "WideString", 20, 20) +
                      ColumnDef("S_No", "Integer", 0, 10) + ColumnDef("A_Time", "WideString", 20, 20) +
                      ColumnDef("D_Time", "WideString", 20, 20) + ColumnDef("R_Date", "WideString", 20, 20) +
                      ColumnDef("Distance", "Integer", 0, 10) + ColumnDef("P1", "WideString", 20, 20) +
                      ColumnDef("P2", "WideString", 20, 20) + ColumnDef("P3", "WideString", 20, 20) +
                      ColumnDef("P4", "WideString", 20, 20),
                  IndexDef("SIDNo", "ID;S_No", true) + IndexDef("SStation", "Station", false)) +
         Row({"ID", "Station", "S_No", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3", "P4"});
}

// A train list in the layout of the stored one (12 columns, SID unique).
inline std::string TrainListPreamble() {
  return Preamble(ColumnDef("ID", "WideString", 35, 35) + ColumnDef("NType", "SmallInt", 0, 10) +
                      ColumnDef("StartStation", "WideString", 20, 20) + ColumnDef("endStation", "WideString", 20, 20) +
                      ColumnDef("A_Time", "WideString", 20, 20) + ColumnDef("D_Time", "WideString", 20, 20) +
                      ColumnDef("R_Date", "WideString", 20, 20) + ColumnDef("Distance", "Integer", 0, 10) +
                      ColumnDef("P1", "WideString", 20, 20) + ColumnDef("P2", "WideString", 20, 20) +
                      ColumnDef("P3", "WideString", 20, 20) + ColumnDef("P4", "WideString", 20, 20),
                  IndexDef("SID", "ID", true)) +
         Row({"ID", "NType", "StartStation", "endStation", "A_Time", "D_Time", "R_Date", "Distance", "P1", "P2", "P3",
              "P4"});
}

// The pinyin and group tables in the layouts of the stored ones.
inline std::string PinyinTablePreamble() {
  return Preamble(ColumnDef("Station", "WideString", 20, 20) + ColumnDef("Shortcode", "WideString", 10, 10), "") +
         Row({"Station", "Shortcode"});
}
inline std::string GroupTablePreamble() {
  return Preamble(ColumnDef("Station", "WideString", 20, 20) + ColumnDef("Gp", "Integer", 0, 10),
                  IndexDef("SStation", "Station", true)) +
         Row({"Station", "Gp"});
}

}  // namespace vormek::testing
