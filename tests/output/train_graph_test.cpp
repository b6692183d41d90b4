// The train graph's layout on made-up trains: the route most trains take,
// where a train leaves it, midnight, hit testing, and inputs at the edges
// (nothing, one train, one stop, a thousand trains).
#include "output/train_graph.h"

#include <gtest/gtest.h>

#include <random>

#include "output/train_graph_svg.h"

namespace vormek {
namespace {

// A train from "station:km:arrive:depart" stops.
TGraphTrain Train(std::string id, std::vector<TGraphStop> stops) {
  TGraphTrain t;
  t.Class = GraphClassOf(id);
  t.ID = std::move(id);
  t.Stops = std::move(stops);
  return t;
}

std::vector<const TGraphPath*> PathsOf(const TTrainGraph& g, int train, TGraphPathRole role) {
  std::vector<const TGraphPath*> paths;
  for (const TGraphOp& op : g.Ops) {
    const auto* p = std::get_if<TGraphPath>(&op);
    if (p != nullptr && p->Train == train && p->Role == role) paths.push_back(p);
  }
  return paths;
}

// Three trains on the high-speed line, one on the old line that shares its
// first station with them and nothing after.
std::vector<TGraphTrain> TwoRoutes() {
  return {
      Train("G1", {{"A", 0, 480, 480}, {"B", 100, 510, 512}, {"C", 300, 570, 570}}),
      Train("G3", {{"A", 0, 540, 540}, {"C", 302, 630, 630}}),
      Train("G5", {{"A", 0, 600, 600}, {"B", 101, 631, 633}, {"C", 299, 690, 690}}),
      Train("K7", {{"A", 0, 1200, 1200}, {"B", 100, 1290, 1295}, {"X", 180, 1350, 1352}, {"C", 360, 1450, 1450}}),
  };
}

TEST(TrainGraph, TheRouteIsTheOneMostTrainsTake) {
  const std::vector<TGraphTrain> trains = TwoRoutes();
  const TGraphRoute route = MainRoute(trains);
  EXPECT_EQ(route.LengthKm, 300);
  ASSERT_EQ(route.Stations.size(), 3u);
  EXPECT_EQ(route.Stations[1].Name, "B");
  EXPECT_EQ(route.Stations[1].Km, 100);  // the median of 100, 101
  EXPECT_EQ(StopsOnRoute(trains[0], route), 3u);
  // K7 calls at B where the route has it, then runs on elsewhere: drawn to
  // B, past the stop the route does not know, never to C at 360.
  EXPECT_EQ(StopsOnRoute(trains[3], route), 2u);

  const TTrainGraph g = LayoutTrainGraph(trains, TGraphSetup{});
  EXPECT_FALSE(g.Trains[0].LeavesRoute);
  EXPECT_TRUE(g.Trains[3].LeavesRoute);
  int marks = 0;
  for (const TGraphOp& op : g.Ops) {
    if (const auto* m = std::get_if<TGraphMark>(&op); m != nullptr && m->Train == 3) {
      ++marks;
      EXPECT_EQ(GraphMinuteAt(g, m->X), 1295);  // leaves after B's departure
      EXPECT_NEAR(GraphKmAt(g, m->Y), 100, 1e-9);
    }
  }
  EXPECT_EQ(marks, 1);
}

TEST(TrainGraph, MidnightWrapsToTheLeftEdgeOrWidensTheSpan) {
  // 23:00 at km 0 to 01:00 at km 120: the line crosses midnight at km 60.
  const std::vector<TGraphTrain> trains{Train("Z1", {{"A", 0, 1380, 1380}, {"B", 120, 1500, 1500}})};
  const TTrainGraph day = LayoutTrainGraph(trains, TGraphSetup{});
  const auto runs = PathsOf(day, 0, TGraphPathRole::Train);
  const auto wraps = PathsOf(day, 0, TGraphPathRole::Wrap);
  ASSERT_EQ(runs.size(), 2u);
  ASSERT_EQ(wraps.size(), 2u);
  EXPECT_DOUBLE_EQ(wraps[0]->Points[1].X, day.PlotRight);
  EXPECT_DOUBLE_EQ(wraps[1]->Points[0].X, day.PlotLeft);
  EXPECT_NEAR(GraphKmAt(day, wraps[0]->Points[1].Y), 60, 1e-9);
  EXPECT_NEAR(GraphKmAt(day, wraps[1]->Points[0].Y), 60, 1e-9);
  EXPECT_EQ(GraphMinuteAt(day, runs[1]->Points[0].X), 60);

  TGraphSetup whole;
  whole.Span = TGraphSpan::Trains;
  const TTrainGraph span = LayoutTrainGraph(trains, whole);
  EXPECT_EQ(span.FirstMinute, 1380);
  EXPECT_EQ(span.LastMinute, 1500);
  EXPECT_EQ(PathsOf(span, 0, TGraphPathRole::Train).size(), 1u);
  EXPECT_TRUE(PathsOf(span, 0, TGraphPathRole::Wrap).empty());

  // Two days on the road: across the whole of the second day, edge to edge.
  const TTrainGraph twoDays =
      LayoutTrainGraph({Train("K9", {{"A", 0, 1200, 1200}, {"B", 3000, 4000, 4000}})}, TGraphSetup{});
  const auto strokes = PathsOf(twoDays, 0, TGraphPathRole::Wrap);
  ASSERT_EQ(strokes.size(), 3u);
  EXPECT_DOUBLE_EQ(strokes[1]->Points[0].X, twoDays.PlotLeft);
  EXPECT_DOUBLE_EQ(strokes[1]->Points[1].X, twoDays.PlotRight);
}

TEST(TrainGraph, HoveringFindsTheTrainItsStopAndTheTime) {
  const TTrainGraph g = LayoutTrainGraph(TwoRoutes(), TGraphSetup{});
  const double x = g.X0 + 511 * g.PxPerMin, y = g.Y0 + 100 * g.PxPerKm;  // G1's dwell at B
  const TGraphHit hit = HitTrain(g, x, y, 4);
  EXPECT_EQ(hit.Train, 0);
  EXPECT_EQ(g.Trains[0].Stops[static_cast<std::size_t>(hit.Stop)].Station, "B");
  EXPECT_EQ(hit.Minute, 511);
  EXPECT_EQ(GraphClockText(hit.Minute), "08:31");
  EXPECT_EQ(HitTrain(g, g.X0 + 100 * g.PxPerMin, y, 4).Train, -1);  // 01:40: no train
}

TEST(TrainGraph, EdgeInputsLayOutAndWrite) {
  const auto check = [](const std::vector<TGraphTrain>& trains) {
    for (TGraphSpan span : {TGraphSpan::Day, TGraphSpan::Trains}) {
      TGraphSetup setup;
      setup.Span = span;
      const TTrainGraph g = LayoutTrainGraph(trains, setup);
      EXPECT_EQ(g.Trains.size(), trains.size());
      EXPECT_GT(g.PxPerMin, 0);
      EXPECT_GT(g.PxPerKm, 0);
      EXPECT_LT(g.PlotLeft, g.PlotRight);
      EXPECT_LT(g.PlotTop, g.PlotBottom);
      const std::string svg = TrainGraphSvg(g);
      EXPECT_NE(svg.find("</svg>"), std::string::npos);
      EXPECT_EQ(svg.find("nan"), std::string::npos);
      EXPECT_EQ(svg.find("inf"), std::string::npos);
    }
  };
  check({});
  check({TGraphTrain{}});                                          // a row whose stops were not found
  check({Train("G1", {{"A", 0, 600, 600}, {"B", 0, 620, 620}})});  // one place, no length
  check({Train("K1", {{"A", 0, 600, 600}})});                      // one stop in the section
  check({Train("T1", {{"A&<\"", 0, 600, 600}, {"B", 50, 660, 660}})});

  std::mt19937 random(7);
  std::vector<TGraphTrain> many;
  for (int i = 0; i < 1000; ++i) {
    std::vector<TGraphStop> stops;
    std::int32_t minute = static_cast<std::int32_t>(random() % 1440);
    for (int k = 0, km = 0; k < 20; ++k, km += 10 + static_cast<int>(random() % 40)) {
      const std::int32_t arrive = minute;
      minute += static_cast<std::int32_t>(random() % 5);
      stops.push_back({"S" + std::to_string(k), km, arrive, minute});
      minute += 10 + static_cast<std::int32_t>(random() % 30);
    }
    many.push_back(Train((i % 2 ? "G" : "K") + std::to_string(i), std::move(stops)));
  }
  check(many);
}

TEST(TrainGraph, SvgEscapesTextAndNamesEachTrain) {
  const TTrainGraph g = LayoutTrainGraph({Train("T1", {{"A&<\"", 0, 600, 600}, {"B", 50, 660, 660}})}, TGraphSetup{});
  const std::string svg = TrainGraphSvg(g);
  EXPECT_NE(svg.find("A&amp;&lt;&quot;"), std::string::npos);
  EXPECT_EQ(svg.find("A&<"), std::string::npos);
  EXPECT_NE(svg.find("<g class=\"train\" data-train=\"T1\" data-row=\"-1\">\n<title>T1 "), std::string::npos);
}

}  // namespace
}  // namespace vormek
