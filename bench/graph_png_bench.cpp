// The train graph's PNG: rasterising a full day's graph, and encoding it.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "graph_png.h"
#include "png_encoder.h"

namespace {

using namespace vormek;

// A 1600 x 1000 graph: an hourly grid, 40 station rules, and 1,000 trains
// of 20 stops each, a third of them dashed, each with its number.
TTrainGraph BusyGraph() {
  TTrainGraph graph;
  graph.Width = 1600;
  graph.Height = 1000;
  const TGraphColour grid{160, 200, 160};
  for (int hour = 0; hour <= 24; ++hour)
    graph.Ops.push_back(TGraphPath{{{60.0 + hour * 60, 40}, {60.0 + hour * 60, 960}}, grid, 1});
  for (int station = 0; station < 40; ++station)
    graph.Ops.push_back(TGraphPath{{{60, 40.0 + station * 23}, {1500, 40.0 + station * 23}}, grid, 0.8});
  std::mt19937 random(7);
  std::uniform_real_distribution<double> start(60, 1400), step(5, 40);
  std::uniform_int_distribution<int> channel(0, 200);
  for (int train = 0; train < 1000; ++train) {
    TGraphPath path;
    path.Colour = {std::uint8_t(channel(random)), std::uint8_t(channel(random)), std::uint8_t(channel(random))};
    path.Width = train % 7 == 0 ? 2 : 1.2;
    path.Style = train % 3 == 0 ? TGraphLineStyle::Dashed : TGraphLineStyle::Solid;
    double x = start(random);
    for (int stop = 0; stop < 20; ++stop) {
      path.Points.push_back({x, 40.0 + stop * 46});
      x += step(random);
    }
    graph.Ops.push_back(path);
    graph.Ops.push_back(TGraphText{path.Points[0].X, 36, "K" + std::to_string(train), 10, path.Colour});
  }
  return graph;
}

void RasteriseBusyGraph(benchmark::State& state) {
  const TTrainGraph graph = BusyGraph();
  std::string error;
  std::unique_ptr<cli::TGraphFont> font = cli::TGraphFont::Open(error);
  if (font == nullptr) state.SetLabel("no Chinese face: lines only");
  for (auto _ : state) {
    cli::TRgbImage image(1600, 1000);
    cli::RenderGraph(graph, font.get(), image);
    benchmark::DoNotOptimize(image.Pixels.data());
  }
}
BENCHMARK(RasteriseBusyGraph)->Unit(benchmark::kMillisecond);

void EncodeBusyGraph(benchmark::State& state) {
  cli::TRgbImage image(1600, 1000);
  cli::RenderGraph(BusyGraph(), nullptr, image);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string png = cli::EncodePng(image);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["file_bytes"] = double(bytes);
}
BENCHMARK(EncodeBusyGraph)->Unit(benchmark::kMillisecond);

}  // namespace
