// The queries against a plain reading of their rules: one walk of the stop
// table through the cursor operations, with station names compared as text,
// for many station pairs drawn at random from the built-in and the national
// timetables. Every record field must agree, in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/embedded_items.h"
#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "query/query_direct.h"
#include "query/query_station.h"
#include "query/query_transfer.h"
#include "query/stop_list.h"
#include "stations/station_selection.h"

namespace vormek {
namespace {

std::string Describe(const TPub_GridResult& r) {
  std::string s;
  for (const std::string* t :
       {&r.ID,      &r.TypeName,  &r.StartStation, &r.EndStation, &r.QC_R_Date, &r.QC_P1, &r.QC_P2,
        &r.QC_P3,   &r.QC_P4,     &r.FZ.Station,   &r.FZ.P1,      &r.FZ.P2,     &r.FZ.P3, &r.FZ.P4,
        &r.FZ.Time, &r.FZ.R_Date, &r.DZ.Station,   &r.DZ.Time,    &r.DZ.R_Date, &r.DZ.P1, &r.DZ.P2,
        &r.DZ.P3,   &r.DZ.P4,     &r.QJ_R_Date,    &r.QJ_P1,      &r.QJ_P2,     &r.QJ_P3, &r.QJ_P4})
    s += *t + "|";
  for (std::int32_t n :
       {r.NType, r.QC_Distance, r.FZ.S_No, r.FZ.Distance, r.DZ.S_No, r.DZ.Distance, r.Stops, r.QJ_Distance})
    s += std::to_string(n) + "|";
  return s;
}

std::vector<std::string> Describe(const std::vector<TPub_GridResult>& rows) {
  std::vector<std::string> out;
  for (const auto& r : rows) out.push_back(Describe(r));
  return out;
}

std::vector<std::string> Describe(const std::vector<TPub_ZZStruct>& rows) {
  std::vector<std::string> out;
  for (const auto& r : rows)
    out.push_back(r.Station + "|" + std::to_string(r.Distance1) + "|" + std::to_string(r.Distance2) + "|" +
                  std::to_string(r.Distance) + "|" + r.R_Date1 + "|" + r.R_Date2 + "|" + r.R_Date + "|" +
                  std::to_string(r.Count1) + "|" + std::to_string(r.Count2));
  return out;
}

// The reference: the tables' cursors, names looked up at every access.
class TReference {
 public:
  TReference(TTimetable& tt, const TFareTables& fares) : tt_(tt), fares_(fares) {}

  std::vector<TPub_GridResult> Direct(const std::string& from, const std::string& to) {
    const TPub_Center& c = Selected(from, to);
    std::vector<TPub_GridResult> rows;
    TMemTable& s = tt_.KMTrain;
    s.First();
    while (!s.Eof()) {
      const std::string train(s.FieldByName("ID").AsString());
      TPub_GridResult r;
      while (!s.Eof() && s.FieldByName("ID").AsString() == train) {
        const std::string_view station = s.FieldByName("Station").AsString();
        if (r.FZ.Station.empty()) {
          if (IsSelectedStation(c, station, exact_, TStationSide::Departure)) Board(r);
        } else if (IsSelectedStation(c, station, exact_, TStationSide::Arrival)) {
          Alight(r);
        }
        s.Next();
      }
      if (!r.FZ.Station.empty() && !r.DZ.Station.empty() && Listed(train, r)) rows.push_back(r);
    }
    return rows;
  }

  std::vector<TPub_GridResult> Station(const std::string& name) {
    TPub_Center c;
    SelectTimetableStation(tt_.KMSM, c, name);
    const bool exact = ApplyTimetableExactMode(c);
    std::vector<TPub_GridResult> rows;
    TMemTable& s = tt_.KMTrain;
    s.First();
    while (!s.Eof()) {
      if (IsSelectedStation(c, s.FieldByName("Station").AsString(), exact, TStationSide::Departure)) {
        const std::string train(s.FieldByName("ID").AsString());
        TPub_GridResult r;
        const bool listed = tt_.KMList.Locate("ID", train);
        if (!s.FieldByName("D_Time").AsString().empty()) {
          Board(r);
          // On to the first stop without a departure time, within the train.
          while (!s.FieldByName("D_Time").AsString().empty()) {
            s.Next();
            if (s.Eof()) break;
            if (s.FieldByName("ID").AsString() != train) {
              s.Prior();
              break;
            }
          }
          Alight(r);
        } else {
          Alight(r);
          r.FZ.Station = tt_.KMList.FieldByName("StartStation").AsString();
          r.FZ.S_No = 1;
          r.FZ.Time = tt_.KMList.FieldByName("A_Time").AsString();
          r.FZ.R_Date = "0";
        }
        if (listed && Listed(train, r)) rows.push_back(r);
      }
      s.Next();
    }
    return rows;
  }

  // Transfer rows and, for every stride-th row, the records of its legs.
  std::vector<TPub_ZZStruct> Transfer(const std::string& from, const std::string& to, std::size_t stride,
                                      std::vector<std::vector<TPub_GridResult>>& legsPerRow) {
    const TPub_Center& c = Selected(from, to);
    std::vector<TPub_GridResult> one, two;
    TMemTable& s = tt_.KMTrain;
    s.First();
    while (!s.Eof()) {
      const std::string train(s.FieldByName("ID").AsString());
      bool found = false;
      while (!s.Eof() && !found && s.FieldByName("ID").AsString() == train) {
        if (IsSelectedStation(c, s.FieldByName("Station").AsString(), exact_, TStationSide::Departure))
          found = true;
        else
          s.Next();
      }
      if (!found) continue;
      TPub_GridResult leg;
      leg.ID = train;
      Board(leg);
      s.Next();
      while (!s.Eof() && s.FieldByName("ID").AsString() == train) {
        Alight(leg);
        one.push_back(leg);
        s.Next();
      }
    }
    s.Last();
    while (!s.Bof()) {
      const std::string train(s.FieldByName("ID").AsString());
      bool found = false;
      while (!s.Bof() && !found && s.FieldByName("ID").AsString() == train) {
        if (IsSelectedStation(c, s.FieldByName("Station").AsString(), exact_, TStationSide::Arrival))
          found = true;
        else
          s.Prior();
      }
      if (!found) continue;
      TPub_GridResult leg;
      leg.ID = train;
      Alight(leg);
      s.Prior();
      while (!s.Bof() && s.FieldByName("ID").AsString() == train) {
        Board(leg);
        two.push_back(leg);
        s.Prior();
      }
    }
    std::vector<TPub_ZZStruct> rows;
    for (const TPub_GridResult& leg : one) {
      auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.Station == leg.DZ.Station; });
      if (it != rows.end()) {
        ++it->Count1;
        continue;
      }
      TPub_ZZStruct& row = rows.emplace_back();
      row.Station = leg.DZ.Station;
      row.Distance1 = leg.DZ.Distance - leg.FZ.Distance;
      row.R_Date1 = ElapsedDifference(leg.FZ.R_Date, leg.DZ.R_Date);
      row.Count1 = 1;
    }
    for (const TPub_GridResult& leg : two) {
      auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.Station == leg.FZ.Station; });
      if (it == rows.end()) continue;
      it->Distance2 = leg.DZ.Distance - leg.FZ.Distance;
      it->Distance = it->Distance1 + it->Distance2;
      it->R_Date2 = ElapsedDifference(leg.FZ.R_Date, leg.DZ.R_Date);
      it->R_Date = MinutesToDuration(DurationToMinutes(it->R_Date1) + DurationToMinutes(it->R_Date2));
      ++it->Count2;
    }
    for (std::size_t i = 0; i < rows.size(); i += stride) {
      const TPub_ZZStruct& row = rows[i];
      std::vector<TPub_GridResult>& legs = legsPerRow.emplace_back();
      for (const auto* side : {&one, &two}) {
        for (TPub_GridResult leg : *side) {
          if ((side == &one ? leg.DZ.Station : leg.FZ.Station) != row.Station) continue;
          TPub_GridResult r;
          if (Listed(leg.ID, leg)) r = leg;
          legs.push_back(r);
        }
      }
    }
    return rows;
  }

 private:
  const TPub_Center& Selected(const std::string& from, const std::string& to) {
    SelectDeparture(tt_.KMSM, c_, from);
    SelectArrival(tt_.KMSM, c_, to);
    exact_ = ApplyPairExactMode(c_);
    return c_;
  }
  std::string Text(std::string_view column) { return std::string(tt_.KMTrain.FieldByName(column).AsString()); }
  std::int32_t Int(std::string_view column) { return tt_.KMTrain.FieldByName(column).AsInteger(); }
  void Board(TPub_GridResult& r) {
    r.FZ.Station = Text("Station");
    r.FZ.S_No = Int("S_No");
    r.FZ.Time = Text("D_Time");
    r.FZ.R_Date = Text("R_Date");
    r.FZ.Distance = Int("Distance");
    r.FZ.P1 = Text("P1"), r.FZ.P2 = Text("P2"), r.FZ.P3 = Text("P3"), r.FZ.P4 = Text("P4");
  }
  void Alight(TPub_GridResult& r) {
    r.DZ.Station = Text("Station");
    r.DZ.S_No = Int("S_No");
    r.DZ.Time = Text("A_Time");
    r.DZ.R_Date = Text("R_Date");
    r.DZ.Distance = Int("Distance");
    r.DZ.P1 = Text("P1"), r.DZ.P2 = Text("P2"), r.DZ.P3 = Text("P3"), r.DZ.P4 = Text("P4");
  }
  // The train list's fields and the section; false when the train is not listed.
  bool Listed(const std::string& train, TPub_GridResult& r) {
    TMemTable& l = tt_.KMList;
    if (!l.Locate("ID", train)) return false;
    auto text = [&](std::string_view column) { return std::string(l.FieldByName(column).AsString()); };
    r.ID = text("ID");
    r.NType = l.FieldByName("NType").AsInteger();
    r.TypeName = TrainTypeName(r.NType);
    r.StartStation = text("startStation");
    r.EndStation = text("endStation");
    r.QC_R_Date = text("R_Date");
    r.QC_Distance = l.FieldByName("Distance").AsInteger();
    r.QC_P1 = text("P1"), r.QC_P2 = text("P2"), r.QC_P3 = text("P3"), r.QC_P4 = text("P4");
    r.Stops = r.DZ.S_No - r.FZ.S_No;
    r.QJ_Distance = r.DZ.Distance - r.FZ.Distance;
    r.QJ_R_Date = ElapsedDifference(r.FZ.R_Date, r.DZ.R_Date);
    SectionFares(fares_, r);
    return true;
  }

  TTimetable& tt_;
  const TFareTables& fares_;
  TPub_Center c_;
  bool exact_ = false;
};

// Stations to ask for: every enterable name, and the city names the
// benchmarks use.
std::vector<std::string> Names(TTimetable& tt) {
  std::vector<std::string> names;
  const int col = tt.KMPy.FieldByName("Station").Column();
  for (int i = 0; i < tt.KMPy.RecordCount(); ++i) names.emplace_back(tt.KMPy.ValueAt(i, col));
  return names;
}

void CompareOn(TTimetable& tt, int pairs, int transfers) {
  const TFareTables fares = BuildFareTables();
  TReference reference(tt, fares);
  std::vector<std::string> names = Names(tt);
  ASSERT_FALSE(names.empty());
  std::mt19937 random(20120505);
  std::uniform_int_distribution<std::size_t> pick(0, names.size() - 1);
  std::vector<std::pair<std::string, std::string>> asked{{"北京", "上海"}, {"南京", "上海"}, {"北京", "北京西"}};
  for (int i = 0; i < pairs; ++i) asked.emplace_back(names[pick(random)], names[pick(random)]);
  for (std::size_t i = 0; i < asked.size(); ++i) {
    const auto& [from, to] = asked[i];
    SCOPED_TRACE(from + " > " + to);
    EXPECT_EQ(Describe(QueryDirect(tt, fares, {from, to}).Rows), Describe(reference.Direct(from, to)));
    EXPECT_EQ(Describe(QueryStation(tt, fares, {from}).Rows), Describe(reference.Station(from)));
    if (static_cast<int>(i) >= transfers) continue;
    std::vector<std::vector<TPub_GridResult>> legs;
    constexpr std::size_t kStride = 7;
    const std::vector<TPub_ZZStruct> rows = reference.Transfer(from, to, kStride, legs);
    const TTransferResult result = QueryTransfer(tt, {from, to});
    ASSERT_EQ(Describe(result.Rows), Describe(rows));
    for (std::size_t r = 0; r < rows.size(); r += kStride) {
      const TTransferPick chosen{rows[r].Station, rows[r].Count1, rows[r].Count2};
      EXPECT_EQ(Describe(TransferLegResults(tt, fares, result.FirstLegs, result.SecondLegs, chosen)),
                Describe(legs[r / kStride]));
    }
  }
}

TEST(QueriesAgainstAPlainScan, BuiltInTimetable) {
  TTimetable tt;
  LoadTimetable(EmbeddedItems(), tt);
  CompareOn(tt, 60, 8);
}

TEST(QueriesAgainstAPlainScan, NationalTimetable) {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  TTimetable tt;
  LoadTimetableFromDirectory(dir, tt);
  CompareOn(tt, 60, 8);
}

}  // namespace
}  // namespace vormek
