// The train graph against the frame time of a window repainting at 60 Hz
// (16.7 ms): laying out, painting as the window does (QPainter on a
// 1600x1000 picture, when built with the window) and writing the 北京→上海
// result of the built-in timetable, and a thousand trains of the national
// tables made ten times larger. Beside each, the bare pass over the same
// vertices (each one's x and y computed once into a flat array), the least
// any drawing must do.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "bench_tables.h"
#include "data/embedded_items.h"
#include "output/train_graph.h"
#include "output/train_graph_svg.h"
#include "query/graph_trains.h"
#include "query/query_direct.h"
#ifdef VORMEK_BENCH_QT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "services/graph_painter.h"
#endif

namespace vormek {
namespace {

struct TCase {
  std::unique_ptr<TTimetable> Tables;
  std::vector<TPub_GridResult> Rows;
};

// The stations' names as GBK bytes: this file is compiled without the GBK
// literals, which Qt's headers do not survive.
constexpr const char* kBeijing = "\xb1\xb1\xbe\xa9";
constexpr const char* kShanghai = "\xc9\xcf\xba\xa3";
constexpr const char* kOthers[] = {"\xb9\xe3\xd6\xdd" /* 广州 */, "\xcc\xec\xbd\xf2" /* 天津 */,
                                   "\xca\xaf\xbc\xd2\xd7\xaf" /* 石家庄 */, "\xbc\xc3\xc4\xcf" /* 济南 */};

TCase BuiltIn() {
  TCase c;
  c.Tables = std::make_unique<TTimetable>();
  LoadTimetable(EmbeddedItems(), *c.Tables);
  c.Rows = QueryDirect(*c.Tables, BuildFareTables(), TStationPairRequest{kBeijing, kShanghai}).Rows;
  return c;
}

// The national tables (the built-in ones when absent) ten times over; the
// first thousand trains of 北京→上海, or of all pairs from 北京 together.
TCase Scaled() {
  const auto national = bench::NationalTexts();
  TCase c;
  c.Tables = bench::LoadTexts(bench::ScaleTexts(national ? *national : bench::BuiltinTexts(), 10));
  const TFareTables fares = BuildFareTables();
  std::vector<const char*> destinations{kShanghai};
  destinations.insert(destinations.end(), std::begin(kOthers), std::end(kOthers));
  for (const char* to : destinations) {
    auto rows = QueryDirect(*c.Tables, fares, TStationPairRequest{kBeijing, to}).Rows;
    c.Rows.insert(c.Rows.end(), rows.begin(), rows.end());
    if (c.Rows.size() >= 1000) break;
  }
  c.Rows.resize(std::min<std::size_t>(c.Rows.size(), 1000));
  return c;
}

TCase& Case(bool scaled) {
  static TCase builtIn = BuiltIn();
  if (!scaled) return builtIn;
  static TCase big = Scaled();
  return big;
}

TGraphSetup Setup() {
  TGraphSetup s;
  s.Width = 1600;
  s.Height = 1000;
  return s;
}

void Layout(benchmark::State& state, bool scaled) {
  const TCase& c = Case(scaled);
  for (auto _ : state) {
    const TTrainGraph g = LayoutTrainGraph(GraphTrainsOf(*c.Tables, c.Rows), Setup());
    benchmark::DoNotOptimize(g.Ops.data());
  }
}

void LayoutAndSvg(benchmark::State& state, bool scaled) {
  const TCase& c = Case(scaled);
  for (auto _ : state) {
    const std::string svg = TrainGraphSvg(LayoutTrainGraph(GraphTrainsOf(*c.Tables, c.Rows), Setup()));
    benchmark::DoNotOptimize(svg.data());
  }
}

// Every vertex's x and y once, from trains already read: the floor under
// any layout of the same picture.
void BarePass(benchmark::State& state, bool scaled) {
  const TCase& c = Case(scaled);
  const std::vector<TGraphTrain> trains = GraphTrainsOf(*c.Tables, c.Rows);
  const TTrainGraph g = LayoutTrainGraph(trains, Setup());
  std::vector<TGraphPoint> points;
  for (auto _ : state) {
    points.clear();
    for (const TGraphTrain& t : trains) {
      for (const TGraphStop& s : t.Stops) {
        points.push_back({g.X0 + (s.Arrive % kMinutesPerDay) * g.PxPerMin, g.Y0 + s.Km * g.PxPerKm});
        points.push_back({g.X0 + (s.Depart % kMinutesPerDay) * g.PxPerMin, g.Y0 + s.Km * g.PxPerKm});
      }
    }
    benchmark::DoNotOptimize(points.data());
  }
}

#ifdef VORMEK_BENCH_QT
// What the window does on a repaint after a zoom: lay out at the new size
// and paint every operation.
void LayoutAndPaint(benchmark::State& state, bool scaled) {
  const TCase& c = Case(scaled);
  const std::vector<TGraphTrain> trains = GraphTrainsOf(*c.Tables, c.Rows);
  TGraphSetup setup = Setup();
  setup.TextWidth = GraphTextWidth();
  QImage image(1600, 1000, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    const TTrainGraph g = LayoutTrainGraph(trains, setup);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintTrainGraph(painter, g, -1, true);
  }
}
BENCHMARK_CAPTURE(LayoutAndPaint, BeijingShanghai_BuiltIn, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LayoutAndPaint, Trains1000_x10, true)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK_CAPTURE(Layout, BeijingShanghai_BuiltIn, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LayoutAndSvg, BeijingShanghai_BuiltIn, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BarePass, BeijingShanghai_BuiltIn, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Layout, Trains1000_x10, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LayoutAndSvg, Trains1000_x10, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BarePass, Trains1000_x10, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vormek

int main(int argc, char** argv) {
#ifdef VORMEK_BENCH_QT
  // Fonts need a GUI application; no screen is needed.
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
