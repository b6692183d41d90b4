// The train graph read back: for random station pairs on the program's own
// timetable and on the national 2019 tables, every vertex of every train
// maps back, through the scales the SVG states, to its stop's clock time and
// kilometres; the rows' own sections agree with the stops drawn; and no
// train of the result is missing from the picture or the SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "data/embedded_items.h"
#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "output/train_graph.h"
#include "output/train_graph_svg.h"
#include "query/connections.h"
#include "query/graph_trains.h"
#include "query/query_direct.h"
#include "query/stop_positions.h"
#include "query/table_columns.h"

namespace vormek {
namespace {

// Two stops of a random train, in its order: a pair with at least one train.
std::vector<std::pair<std::string, std::string>> RandomPairs(const TTimetable& tt, int count, std::mt19937& random) {
  const TStopColumns c(tt.KMTrain);
  std::vector<std::pair<std::string, std::string>> pairs;
  std::uniform_int_distribution<std::size_t> pickTrain(0, tt.Index.Trains.size() - 1);
  while (static_cast<int>(pairs.size()) < count) {
    const TTrainRun& run = tt.Index.Trains[pickTrain(random)];
    if (run.Last <= run.First) continue;
    std::uniform_int_distribution<std::uint32_t> pickStop(run.First, run.Last);
    std::uint32_t a = pickStop(random), b = pickStop(random);
    if (a == b) continue;
    if (a > b) std::swap(a, b);
    pairs.emplace_back(tt.KMTrain.ValueAt(static_cast<int>(a), c.Station),
                       tt.KMTrain.ValueAt(static_cast<int>(b), c.Station));
  }
  return pairs;
}

// What a train's polylines must pass through, in order: the boarding
// departure, arrival and (when it waits) departure at each stop between,
// the alighting arrival. A train cut where it leaves the route ends with
// its departure from the last stop drawn.
std::vector<std::pair<std::int32_t, std::int32_t>> ExpectedVertices(const TGraphTrainShape& shape) {
  const std::vector<TGraphStop>& stops = shape.Stops;
  std::vector<std::pair<std::int32_t, std::int32_t>> v;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (i > 0) v.emplace_back(stops[i].Arrive, stops[i].Km);
    const bool departs = i + 1 < stops.size() || shape.LeavesRoute;
    if (departs && (i == 0 || stops[i].Depart != stops[i].Arrive)) v.emplace_back(stops[i].Depart, stops[i].Km);
  }
  if (v.empty() && !stops.empty()) v.emplace_back(stops[0].Depart, stops[0].Km);
  if (v.size() == 1) v.push_back(v.front());
  return v;
}

std::int32_t ClockOf(std::int32_t minute) { return ((minute % 1440) + 1440) % 1440; }

double Attribute(const std::string& svg, const std::string& name) {
  std::smatch m;
  EXPECT_TRUE(std::regex_search(svg, m, std::regex(name + "=\"([-0-9.e]+)\"")));
  return std::stod(m[1]);
}

// Every train's <polyline class="run"> points, in document order, read
// back to (clock minute, km) through the root's scales.
std::map<std::string, std::vector<std::pair<double, double>>> SvgVertices(const std::string& svg) {
  const double x0 = Attribute(svg, "data-x0"), pxPerMin = Attribute(svg, "data-px-per-min");
  const double y0 = Attribute(svg, "data-y0"), pxPerKm = Attribute(svg, "data-px-per-km");
  std::map<std::string, std::vector<std::pair<double, double>>> trains;
  const std::regex group("<g class=\"train\" data-train=\"([^\"]*)\" data-row=\"(\\d+)\">([^]*?)</g>");
  const std::regex run("<polyline class=\"run\" points=\"([^\"]*)\"");
  for (auto g = std::sregex_iterator(svg.begin(), svg.end(), group); g != std::sregex_iterator(); ++g) {
    auto& vertices = trains[(*g)[2].str()];
    const std::string body = (*g)[3].str();
    for (auto r = std::sregex_iterator(body.begin(), body.end(), run); r != std::sregex_iterator(); ++r) {
      std::istringstream points((*r)[1].str());
      double x = 0, y = 0;
      char comma = 0;
      while (points >> x >> comma >> y) vertices.emplace_back((x - x0) / pxPerMin, (y - y0) / pxPerKm);
    }
  }
  return trains;
}

std::int32_t BoardingDwell(const TTimetable& tt, const TPub_GridResult& r) {
  const TStopColumns c(tt.KMTrain);
  const TTrainRun& run = tt.Index.Trains[static_cast<std::size_t>(FindTrain(tt, r.ID))];
  for (auto pos = static_cast<int>(run.First); pos <= static_cast<int>(run.Last); ++pos) {
    if (tt.KMTrain.IntegerAt(pos, c.S_No) != r.FZ.S_No) continue;
    const std::int32_t a = ClockMinutes(tt.KMTrain.ValueAt(pos, c.A_Time));
    const std::int32_t d = ClockMinutes(tt.KMTrain.ValueAt(pos, c.D_Time));
    return a < 0 || d < 0 ? 0 : (d - a + 1440) % 1440;
  }
  return 0;
}

struct TTally {
  int Pairs = 0, Trains = 0, Vertices = 0, Wrapped = 0, LeftRoute = 0;
};

void CheckPair(const TTimetable& tt, const TFareTables& fares, const std::string& from, const std::string& to,
               std::mt19937& random, TTally& tally) {
  SCOPED_TRACE(from + " -> " + to);
  const TDirectResult result = QueryDirect(tt, fares, TStationPairRequest{from, to});
  const std::vector<TGraphTrain> trains = GraphTrainsOf(tt, result.Rows);
  ASSERT_EQ(trains.size(), result.Rows.size());
  for (std::size_t i = 0; i < trains.size(); ++i) {
    const TPub_GridResult& r = result.Rows[i];
    const std::vector<TGraphStop>& s = trains[i].Stops;
    ASSERT_GE(s.size(), 2u) << r.ID;
    // The section the row states is the one the stops span.
    EXPECT_EQ(s.front().Station, r.FZ.Station) << r.ID;
    EXPECT_EQ(s.back().Station, r.DZ.Station) << r.ID;
    EXPECT_EQ(s.back().Km, r.QJ_Distance) << r.ID;
    EXPECT_EQ(GraphClockText(s.front().Depart), r.FZ.Time) << r.ID;
    EXPECT_EQ(GraphClockText(s.back().Arrive), r.DZ.Time) << r.ID;
    // The row's journey time counts from the arrival at the boarding stop.
    EXPECT_EQ(s.back().Arrive - s.front().Depart + BoardingDwell(tt, r), DurationToMinutes(r.QJ_R_Date)) << r.ID;
    for (std::size_t k = 1; k < s.size(); ++k) {
      EXPECT_LE(s[k - 1].Depart, s[k].Arrive);
      EXPECT_LE(s[k].Arrive, s[k].Depart);
    }
  }

  TGraphSetup setup;
  setup.Width = std::uniform_real_distribution<double>(400, 3000)(random);
  setup.Height = std::uniform_real_distribution<double>(300, 2000)(random);
  setup.Span = random() % 2 ? TGraphSpan::Day : TGraphSpan::Trains;
  const TTrainGraph g = LayoutTrainGraph(trains, setup);
  ASSERT_EQ(g.Trains.size(), trains.size());

  // The vertices of each train's runs, in order, are its drawn stops'.
  std::vector<std::vector<TGraphPoint>> drawn(trains.size());
  for (const TGraphOp& op : g.Ops) {
    const auto* path = std::get_if<TGraphPath>(&op);
    if (path == nullptr || path->Role != TGraphPathRole::Train) continue;
    ASSERT_GE(path->Train, 0);
    auto& d = drawn[static_cast<std::size_t>(path->Train)];
    d.insert(d.end(), path->Points.begin(), path->Points.end());
  }
  for (std::size_t i = 0; i < trains.size(); ++i) {
    const TGraphTrainShape& shape = g.Trains[i];
    SCOPED_TRACE(shape.ID);
    ASSERT_GE(shape.Stops.size(), 1u) << "every train is drawn from its boarding stop";
    EXPECT_EQ(shape.LeavesRoute, shape.Stops.size() < trains[i].Stops.size());
    tally.LeftRoute += shape.LeavesRoute;
    const auto expected = ExpectedVertices(shape);
    ASSERT_EQ(drawn[i].size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
      EXPECT_EQ(GraphMinuteAt(g, drawn[i][k].X), ClockOf(expected[k].first));
      EXPECT_NEAR(GraphKmAt(g, drawn[i][k].Y), expected[k].second, 1e-6);
      EXPECT_GE(drawn[i][k].X, g.PlotLeft - 1e-6);
      EXPECT_LE(drawn[i][k].X, g.PlotRight + 1e-6);
      // A dwell is level: both vertices of a stop at one height.
      if (k > 0 && expected[k].second == expected[k - 1].second) {
        EXPECT_DOUBLE_EQ(drawn[i][k].Y, drawn[i][k - 1].Y);
      }
    }
    tally.Vertices += static_cast<int>(expected.size());
    tally.Wrapped += g.Span == TGraphSpan::Day && expected.back().first >= 1440;
  }
  tally.Trains += static_cast<int>(trains.size());
  ++tally.Pairs;

  // The SVG says the same through its scales: every train a group, every
  // vertex at its clock minute and kilometre.
  const std::string svg = TrainGraphSvg(g);
  const auto svgTrains = SvgVertices(svg);
  ASSERT_EQ(svgTrains.size(), trains.size());
  for (std::size_t i = 0; i < trains.size(); ++i) {
    const auto expected = ExpectedVertices(g.Trains[i]);
    const auto& got = svgTrains.at(std::to_string(trains[i].Row));
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
      const double minute = g.Span == TGraphSpan::Day ? std::fmod(got[k].first + 1440, 1440) : got[k].first;
      const double want = g.Span == TGraphSpan::Day ? ClockOf(expected[k].first) : expected[k].first;
      // Coordinates are written to a hundredth of a pixel.
      EXPECT_NEAR(minute, want, 0.01 / g.PxPerMin + 1e-6);
      EXPECT_NEAR(got[k].second, expected[k].second, 0.01 / g.PxPerKm + 1e-6);
    }
  }
}

void CheckPairs(const TTimetable& tt, std::vector<std::pair<std::string, std::string>> pairs, std::mt19937& random,
                TTally& tally) {
  const TFareTables fares = BuildFareTables();
  for (const auto& [from, to] : pairs) CheckPair(tt, fares, from, to, random, tally);
  std::cout << "pairs " << tally.Pairs << ", trains " << tally.Trains << ", vertices " << tally.Vertices
            << ", past midnight " << tally.Wrapped << ", leaving the route " << tally.LeftRoute << '\n';
}

TEST(TrainGraph, BuiltInTimetableReadsBack) {
  TTimetable tt;
  LoadTimetable(EmbeddedItems(), tt);
  std::mt19937 random(2012);
  auto pairs = RandomPairs(tt, 150, random);
  pairs.emplace_back("北京", "上海");
  pairs.emplace_back("北京", "广州");
  pairs.emplace_back("上海", "重庆");
  TTally tally;
  CheckPairs(tt, pairs, random, tally);
  // The random pairs must reach the cases that can go wrong.
  EXPECT_GT(tally.Wrapped, 0);
  EXPECT_GT(tally.LeftRoute, 0);
}

TEST(TrainGraph, NationalTablesReadBack) {
  const std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "national tables not present";
  TTimetable tt;
  LoadTimetableFromDirectory(dir, tt);
  std::mt19937 random(2019);
  auto pairs = RandomPairs(tt, 60, random);
  pairs.emplace_back("北京", "上海");
  TTally tally;
  CheckPairs(tt, pairs, random, tally);
  EXPECT_GT(tally.Wrapped, 0);
}

}  // namespace
}  // namespace vormek
