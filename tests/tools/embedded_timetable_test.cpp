// The reference timetable as the program carries it: read back from the
// embedded items, checked for size, for the tables' invariants and for the
// facts other parts of the program rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include "data/embedded_items.h"
#include "data/timetable.h"
#include "query/query_direct.h"
#include "query/query_station.h"
#include "query/query_transfer.h"
#include "rules/UPub_Center.h"

namespace vormek {
namespace {

struct Stop {
  std::string station;
  int no = 0;
  std::string arrival, departure, elapsed;
  int km = 0;
  std::string fares[4];
};

struct Train {
  std::string id;
  int type = 0;
  std::string from, to, departure, arrival, elapsed;
  int km = 0;
  std::string fares[4];
  std::vector<Stop> stops;
};

class ReferenceTimetable : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!VORMEK_EMBEDS_REFERENCE) return;
    tables_ = new TTimetable;
    LoadTimetable(EmbeddedItems(), *tables_);
    ReadTrains();
  }
  static void TearDownTestSuite() {
    delete tables_;
    tables_ = nullptr;
    trains_.clear();
  }
  void SetUp() override {
    if (!VORMEK_EMBEDS_REFERENCE) GTEST_SKIP() << "another timetable is embedded";
  }

  static std::vector<std::string> Column(TMemTable& table, std::string_view name) {
    int column = table.FieldByName(name).Column();
    std::vector<std::string> values;
    for (int i = 0; i < table.RecordCount(); ++i) values.emplace_back(table.ValueAt(i, column));
    return values;
  }

  static void ReadTrains() {
    TMemTable& list = tables_->KMList;
    auto text = [&](TMemTable& t, int i, const char* name) {
      return std::string(t.ValueAt(i, t.FieldByName(name).Column()));
    };
    auto number = [&](TMemTable& t, int i, const char* name) { return t.IntegerAt(i, t.FieldByName(name).Column()); };
    for (int i = 0; i < list.RecordCount(); ++i) {
      Train t;
      t.id = text(list, i, "ID");
      t.type = number(list, i, "NType");
      t.from = text(list, i, "startStation");
      t.to = text(list, i, "endStation");
      t.departure = text(list, i, "A_Time");
      t.arrival = text(list, i, "D_Time");
      t.elapsed = text(list, i, "R_Date");
      t.km = number(list, i, "Distance");
      for (int p = 0; p < 4; ++p) t.fares[p] = text(list, i, ("P" + std::to_string(p + 1)).c_str());
      trains_[t.id] = t;
    }
    TMemTable& stops = tables_->KMTrain;
    for (int i = 0; i < stops.RecordCount(); ++i) {
      Stop s;
      s.station = text(stops, i, "Station");
      s.no = number(stops, i, "S_No");
      s.arrival = text(stops, i, "A_Time");
      s.departure = text(stops, i, "D_Time");
      s.elapsed = text(stops, i, "R_Date");
      s.km = number(stops, i, "Distance");
      for (int p = 0; p < 4; ++p) s.fares[p] = text(stops, i, ("P" + std::to_string(p + 1)).c_str());
      std::string id = text(stops, i, "ID");
      auto it = trains_.find(id);
      if (it == trains_.end()) {
        orphanStops_.insert(id);
      } else {
        it->second.stops.push_back(s);
      }
    }
  }

  static const Train& TrainNo(const std::string& id) {
    static const Train none;
    auto it = trains_.find(id);
    EXPECT_NE(it, trains_.end()) << id;
    return it == trains_.end() ? none : it->second;
  }

  static const Stop* StopAt(const Train& t, const std::string& station) {
    for (const Stop& s : t.stops) {
      if (s.station == station) return &s;
    }
    return nullptr;
  }

  static std::set<std::string> CalledStations() {
    std::set<std::string> called;
    for (const auto& [id, t] : trains_) {
      for (const Stop& s : t.stops) called.insert(s.station);
    }
    return called;
  }

  // The fares a query shows for a ride between two stops of a train.
  static TPub_GridResult Section(const Train& t, const Stop& from, const Stop& to) {
    TPub_GridResult r;
    r.ID = t.id;
    r.NType = t.type;
    r.StartStation = t.from;
    r.QC_Distance = t.km;
    r.QC_P1 = t.fares[0], r.QC_P2 = t.fares[1], r.QC_P3 = t.fares[2], r.QC_P4 = t.fares[3];
    r.FZ.Station = from.station;
    r.FZ.P1 = from.fares[0], r.FZ.P2 = from.fares[1], r.FZ.P3 = from.fares[2], r.FZ.P4 = from.fares[3];
    r.DZ.P1 = to.fares[0], r.DZ.P2 = to.fares[1], r.DZ.P3 = to.fares[2], r.DZ.P4 = to.fares[3];
    r.QJ_Distance = to.km - from.km;
    SectionFares(BuildFareTables(), r);
    return r;
  }

  static TTimetable* tables_;
  static std::map<std::string, Train> trains_;
  static std::set<std::string> orphanStops_;
};

TTimetable* ReferenceTimetable::tables_ = nullptr;
std::map<std::string, Train> ReferenceTimetable::trains_;
std::set<std::string> ReferenceTimetable::orphanStops_;

TEST_F(ReferenceTimetable, IsBigEnough) {
  EXPECT_GE(tables_->KMPy.RecordCount(), 2500);
  EXPECT_GE(tables_->KMList.RecordCount(), 3500);
  EXPECT_GE(tables_->KMTrain.RecordCount(), 40000);
  std::map<std::string, int> groupSizes;
  for (const std::string& gp : Column(tables_->KMSM, "Gp")) ++groupSizes[gp];
  EXPECT_GE(groupSizes.size(), 130u);
  for (const auto& [gp, size] : groupSizes) {
    EXPECT_GT(std::stoi(gp), 0);
    EXPECT_LE(size, 5) << "group " << gp;
  }
  std::set<int> types;
  for (const auto& [id, t] : trains_) types.insert(t.type);
  EXPECT_EQ(types, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST_F(ReferenceTimetable, KeepsTheStopTableInvariants) {
  EXPECT_TRUE(orphanStops_.empty()) << *orphanStops_.begin();
  const std::regex clock("([01][0-9]|2[0-3]):[0-5][0-9]");
  const std::regex elapsed("0|[1-5]?[0-9]|[1-9][0-9]*:[1-5]?[0-9]");
  std::set<std::string> differing;
  for (const auto& [id, t] : trains_) {
    SCOPED_TRACE(id);
    ASSERT_GE(t.stops.size(), 2u);
    ASSERT_LE(t.stops.size(), 62u);
    std::set<std::string> seen;
    int lastMinutes = -1;
    for (std::size_t i = 0; i < t.stops.size(); ++i) {
      const Stop& s = t.stops[i];
      bool first = i == 0, last = i + 1 == t.stops.size();
      EXPECT_EQ(s.no, static_cast<int>(i) + 1);
      EXPECT_TRUE(seen.insert(s.station).second) << "calls twice at " << s.no;
      EXPECT_EQ(s.arrival.empty(), first) << s.no;
      EXPECT_EQ(s.departure.empty(), last) << s.no;
      if (!first) {
        EXPECT_TRUE(std::regex_match(s.arrival, clock)) << s.arrival;
      }
      if (!last) {
        EXPECT_TRUE(std::regex_match(s.departure, clock)) << s.departure;
      }
      EXPECT_TRUE(std::regex_match(s.elapsed, elapsed)) << s.elapsed;
      int minutes = DurationToMinutes(s.elapsed);
      EXPECT_GT(minutes, lastMinutes) << "running time goes down at " << s.no;
      if (i > 0) {
        EXPECT_GE(s.km, t.stops[i - 1].km) << "distance goes down at " << s.no;
      }
      lastMinutes = minutes;
    }
    EXPECT_EQ(t.stops[0].elapsed, "0");
    EXPECT_EQ(t.departure, t.stops[0].departure);
    EXPECT_EQ(t.from, t.stops[0].station);
    const Stop& end = t.stops.back();
    bool same = t.to == end.station && t.arrival == end.arrival && t.elapsed == end.elapsed && t.km == end.km;
    for (int p = 0; p < 4; ++p) same = same && t.fares[p] == end.fares[p];
    if (!same) differing.insert(id);
  }
  EXPECT_EQ(differing, (std::set<std::string>{"4216", "4310", "6329"}));
}

TEST_F(ReferenceTimetable, StationsCalledButNotListedAndGroupStationsNotCalled) {
  std::set<std::string> called = CalledStations();
  std::vector<std::string> pinyin = Column(tables_->KMPy, "Station");
  std::set<std::string> listed(pinyin.begin(), pinyin.end());
  EXPECT_EQ(listed.size(), pinyin.size()) << "station names are unique";
  std::set<std::string> unlisted;
  for (const std::string& s : called) {
    if (!listed.count(s)) unlisted.insert(s);
  }
  EXPECT_EQ(unlisted, (std::set<std::string>{"松桃", "英德西"}));
  int groupStationsNotCalled = 0;
  for (const std::string& s : Column(tables_->KMSM, "Station")) groupStationsNotCalled += !called.count(s);
  EXPECT_EQ(groupStationsNotCalled, 11);
}

TEST_F(ReferenceTimetable, PinyinTableLeadsItsBSectionWithBeijing) {
  std::vector<std::string> stations = Column(tables_->KMPy, "Station");
  std::vector<std::string> codes = Column(tables_->KMPy, "Shortcode");
  std::vector<std::string> bSection, bj;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    if (codes[i][0] == 'B') bSection.push_back(stations[i]);
    if (codes[i].starts_with("BJ")) bj.push_back(stations[i]);
  }
  ASSERT_GE(bSection.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(bSection.begin(), bSection.begin() + 6),
            (std::vector<std::string>{"北京", "北京西", "北京南", "北京北", "北京东", "蚌埠"}));
  ASSERT_EQ(bj.size(), 18u);
  EXPECT_EQ(std::vector<std::string>(bj.begin(), bj.begin() + 7),
            (std::vector<std::string>{"北京", "北京西", "北京南", "北京北", "北京东", "宝鸡", "北滘"}));
  // Letters in order: the table is sorted by the first letter of the code.
  EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end(),
                             [](const std::string& a, const std::string& b) { return a[0] < b[0]; }));
}

TEST_F(ReferenceTimetable, CityGroups) {
  std::vector<std::string> stations = Column(tables_->KMSM, "Station");
  std::vector<std::string> groups = Column(tables_->KMSM, "Gp");
  std::map<std::string, std::string> groupOf;
  std::map<std::string, std::set<std::string>> members;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    groupOf[stations[i]] = groups[i];
    members[groups[i]].insert(stations[i]);
  }
  auto groupWith = [&](const std::string& s) { return members[groupOf[s]]; };
  EXPECT_EQ(groupWith("北京"), (std::set<std::string>{"北京", "北京北", "北京东", "北京南", "北京西"}));
  EXPECT_EQ(groupWith("上海"), (std::set<std::string>{"上海", "上海虹桥", "上海南", "上海西"}));
  EXPECT_EQ(groupWith("汉口"), (std::set<std::string>{"汉口", "武昌", "武汉"}));
  EXPECT_EQ(groupWith("德州"), (std::set<std::string>{"德州", "德州东", "枣庄", "枣庄西"}));
  EXPECT_FALSE(groupOf.count("宝鸡"));
  EXPECT_FALSE(groupOf.count("天水"));
  EXPECT_TRUE(std::is_sorted(stations.begin(), stations.end())) << "by station, GBK byte order";
}

TEST_F(ReferenceTimetable, Train1043And1044) {
  const Train& t = TrainNo("1043");
  EXPECT_EQ(t.type, 8);
  EXPECT_EQ(t.from, "西安");
  EXPECT_EQ(t.to, "奎屯");
  EXPECT_EQ(t.departure, "21:25");
  EXPECT_EQ(t.arrival, "11:08");
  EXPECT_EQ(t.elapsed, "37:43");
  EXPECT_EQ(t.km, 2810);
  EXPECT_EQ((std::vector<std::string>{t.fares[0], t.fares[1], t.fares[2], t.fares[3]}),
            (std::vector<std::string>{"143", "-", "280/291/303", "469/492"}));
  ASSERT_EQ(t.stops.size(), 28u);
  const Stop* xianyang = StopAt(t, "咸阳");
  ASSERT_TRUE(xianyang);
  EXPECT_EQ(xianyang->km, 23);
  EXPECT_EQ(xianyang->arrival, "21:43");
  EXPECT_EQ(xianyang->departure, "21:45");
  const Stop& baoji = t.stops[4];
  EXPECT_EQ(baoji.station, "宝鸡");
  EXPECT_EQ(baoji.km, 173);
  EXPECT_EQ(baoji.arrival, "23:34");
  EXPECT_EQ(baoji.departure, "23:40");
  EXPECT_EQ(baoji.elapsed, "2:9");
  EXPECT_EQ(t.stops.back().station, "奎屯");
  // Two intermediate stops 503 km apart, priced as the worked example says.
  const Stop* far = nullptr;
  for (std::size_t i = 1; i + 1 < t.stops.size(); ++i) {
    for (std::size_t j = i + 1; j + 1 < t.stops.size(); ++j) {
      if (t.stops[j].km - t.stops[i].km == 503 && !far) {
        far = &t.stops[j];
        TPub_GridResult r = Section(t, t.stops[i], t.stops[j]);
        EXPECT_EQ(r.QJ_P1, "37");
        EXPECT_EQ(r.QJ_P2, "");
        EXPECT_EQ(r.QJ_P3, "78/80/83");
        EXPECT_EQ(r.QJ_P4, "123/128");
      }
    }
  }
  EXPECT_TRUE(far) << "no two intermediate stops 503 km apart";
  const Train& back = TrainNo("1044");
  EXPECT_EQ(back.from, "奎屯");
  EXPECT_EQ(back.to, "西安");
}

TEST_F(ReferenceTimetable, CombinedNumberTrains) {
  const Train& t = TrainNo("1112/1113");
  EXPECT_EQ(t.from, "青岛");
  EXPECT_EQ(t.to, "汉口");
  EXPECT_EQ(t.stops.size(), 20u);
  EXPECT_EQ(t.km, 1577);
  EXPECT_EQ(t.elapsed, "20:29");
  EXPECT_EQ((std::vector<std::string>{t.fares[0], t.fares[1], t.fares[2], t.fares[3]}),
            (std::vector<std::string>{"168", "-", "301/312/322", "483/506"}));

  const Train& u = TrainNo("1134/1135");
  ASSERT_EQ(u.stops.size(), 19u);
  EXPECT_EQ(u.stops[0].station, "乌海西");
  EXPECT_EQ(u.stops[1].station, "乌海");
  EXPECT_EQ(u.stops[17].station, "天津北");
  EXPECT_EQ(u.stops[18].station, "天津");
  EXPECT_EQ(u.stops[18].km - u.stops[0].km, 1332);
}

TEST_F(ReferenceTimetable, ExpressAndMultipleUnitExamples) {
  const Train& t1 = TrainNo("T1");
  EXPECT_EQ(t1.type, 5);
  EXPECT_EQ(t1.km, 1587);
  EXPECT_EQ((std::vector<std::string>{t1.fares[0], t1.fares[1], t1.fares[2], t1.fares[3]}),
            (std::vector<std::string>{"191", "-", "324/335/345", "506/529"}));
  const Stop* a = nullptr;
  const Stop* b = nullptr;
  for (const Stop& s : t1.stops) {
    if (s.km == 146) a = &s;
    if (s.km == 689) b = &s;
  }
  ASSERT_TRUE(a && b);
  TPub_GridResult r = Section(t1, *a, *b);
  EXPECT_EQ(r.QJ_P1, "76");
  EXPECT_EQ(r.QJ_P3, "134/139/143");
  EXPECT_EQ(r.QJ_P4, "206/215");

  const Train& d1 = TrainNo("D1");
  EXPECT_EQ(d1.km, 703);
  EXPECT_EQ(d1.fares[0], "207");

  bool g100 = std::any_of(trains_.begin(), trains_.end(), [](const auto& entry) {
    return entry.first.starts_with("G100") && entry.second.type >= 1 && entry.second.type <= 3;
  });
  EXPECT_TRUE(g100);
}

// The counts a traveller meets first, each within 15% of the program's
// published figures: direct rows 北京-上海 (55) and 西安-宝鸡 (52), the
// station query at 宝鸡 (120), the transfer stations 北京-上海 (381).
TEST_F(ReferenceTimetable, MainQueriesComeNearThePublishedCounts) {
  TPub_Center c;
  c.Fares = BuildFareTables();
  auto expectNear = [](std::size_t got, double published, const char* what) {
    EXPECT_NEAR(static_cast<double>(got), published, published * 0.15) << what;
  };
  QueryDirect(*tables_, c, "北京", "上海");
  expectNear(c.GridResults.size(), 55, "北京-上海");
  QueryDirect(*tables_, c, "西安", "宝鸡");
  expectNear(c.GridResults.size(), 52, "西安-宝鸡");
  QueryStation(*tables_, c, "宝鸡");
  expectNear(c.GridResults.size(), 120, "宝鸡");
  QueryTransfer(*tables_, c, "北京", "上海");
  TStringGrid grid;
  TSortState sort;
  expectNear(static_cast<std::size_t>(OpenTransferList(c, grid, sort)), 381, "transfer 北京-上海");
}

TEST_F(ReferenceTimetable, SectionRulesGiveBackTheWholeRunFares) {
  // Boarded one stop after the start and priced for the whole distance, a
  // train priced by the tariff shows its stored whole-run fares again.
  std::set<std::string> differing;
  int classic = 0;
  for (const auto& [id, t] : trains_) {
    if (t.type < 4) {
      if (id[0] == 'D') {
        double rate = std::stod(t.fares[0]) / t.km;
        EXPECT_NEAR(rate, 0.3097222, 0.02) << id;
      }
      continue;
    }
    ++classic;
    Stop start = t.stops.front();
    start.station = "-";  // not the start station: the tariff rule applies
    const Stop* end = StopAt(t, t.to);
    ASSERT_TRUE(end) << id;
    TPub_GridResult r = Section(t, start, *end);
    bool same = r.QJ_P1 == t.fares[0] && (t.fares[2] == "-" || r.QJ_P3 == t.fares[2]) &&
                (t.fares[3] == "-" || r.QJ_P4 == t.fares[3]);
    if (!same) differing.insert(id);
  }
  EXPECT_GT(classic, 500);
  // Only the trains whose whole-run fares are fixed by hand.
  EXPECT_EQ(differing, (std::set<std::string>{"1043", "1112/1113"}));
}

}  // namespace
}  // namespace vormek
