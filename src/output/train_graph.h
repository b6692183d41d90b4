#pragma once
// The train graph (运行图) of the trains between two stations: time runs
// across, kilometres from the section's start run down, and each train is a
// polyline whose slope is its speed. Laid out as plain drawing operations,
// like the printed report, so that the window, the SVG writer, the PNG
// writer and the printer all replay one layout.
//
// Coordinates are pixels (or any device unit) with (0, 0) at the top-left
// corner and y growing downwards. Texts are GBK bytes.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "rules/UPub_Center.h"

namespace vormek {

// The classes a train graph tells apart, by the train number's letter.
enum class TGraphClass : std::uint8_t {
  HighSpeed,  // G, C: 高速动车, 城际
  Emu,        // D: 动车组
  Direct,     // Z: 直达特快
  Express,    // T: 特快
  Fast,       // K: 快速
  Ordinary,   // anything else: 普快, 普客 and the lettered locals
};
inline constexpr int kGraphClassCount = 6;
TGraphClass GraphClassOf(std::string_view trainId);
// "高速/城际", "动车", "直达", "特快", "快速", "普快/普客" (GBK).
std::string GraphClassName(TGraphClass c);

// One stop of a train within the section. Minutes count from midnight of
// the day the train leaves the section's start and keep rising past
// midnight (a stop at 00:40 the next day is 1480); Km counts from the
// train's boarding stop.
struct TGraphStop {
  std::string Station;
  std::int32_t Km = 0;
  std::int32_t Arrive = 0;  // equals Depart at the boarding stop
  std::int32_t Depart = 0;  // equals Arrive at the alighting stop
};

struct TGraphTrain {
  std::string ID;
  TGraphClass Class = TGraphClass::Ordinary;
  std::vector<TGraphStop> Stops;  // boarding stop first, alighting stop last
  int Row = -1;                   // the result row it came from
};

// The vertical axis: the route most of the trains take. Its stations are
// those the trains on that route call at, at the median of their
// kilometres, ascending; LengthKm is the route's length.
struct TGraphAxisStation {
  std::string Name;
  std::int32_t Km = 0;
  int Trains = 0;  // of the route's trains, those that call there
};
struct TGraphRoute {
  std::vector<TGraphAxisStation> Stations;
  std::int32_t LengthKm = 0;
};
TGraphRoute MainRoute(const std::vector<TGraphTrain>& trains);

// How many of a train's stops follow the route: the boarding stop always;
// then each stop up to the last one that is a station of the route at its
// kilometres (or the section's end at the route's length). A train that
// follows the route to its end gives its stop count.
std::size_t StopsOnRoute(const TGraphTrain& train, const TGraphRoute& route);

// ---- drawing operations ------------------------------------------------------

struct TGraphColour {
  std::uint8_t R = 0, G = 0, B = 0;
  bool operator==(const TGraphColour&) const = default;
};

enum class TGraphLineStyle : std::uint8_t { Solid, Dashed, Dotted, DashDot };
// On and off lengths of a style's dashes, in line widths, from the first
// dash on; empty for a solid line. The SVG and the window draw by it.
std::vector<double> GraphDashPattern(TGraphLineStyle style);

struct TGraphPoint {
  double X = 0;
  double Y = 0;
};

// What a path draws: a rule of the grid, a piece of a train, or the short
// stroke that carries a train across midnight to the graph's edge.
enum class TGraphPathRole : std::uint8_t { Grid, Train, Wrap, Legend };

struct TGraphPath {
  std::vector<TGraphPoint> Points;
  TGraphColour Colour;
  double Width = 1;
  TGraphLineStyle Style = TGraphLineStyle::Solid;
  TGraphPathRole Role = TGraphPathRole::Grid;
  int Train = -1;  // index into the laid-out trains; -1 for the grid
};

enum class TGraphAnchor : std::uint8_t { Start, Middle, End };

// Text whose baseline starts (Start), is centred (Middle) or ends (End) at
// (X, Y).
struct TGraphText {
  double X = 0;
  double Y = 0;
  std::string Text;
  double Size = 12;  // pixels
  TGraphColour Colour;
  TGraphAnchor Anchor = TGraphAnchor::Start;
  int Train = -1;
};

// Where a train leaves the route: a small cross centred on (X, Y).
struct TGraphMark {
  double X = 0;
  double Y = 0;
  double Size = 6;
  TGraphColour Colour;
  int Train = -1;
};

using TGraphOp = std::variant<TGraphPath, TGraphText, TGraphMark>;

enum class TGraphSpan : std::uint8_t {
  Day,     // 00:00 to 24:00; a train past midnight wraps to the left edge
  Trains,  // the whole hours the trains' runs cover, without wrapping
};

struct TGraphSetup {
  double Width = 1600;
  double Height = 1000;
  TGraphSpan Span = TGraphSpan::Day;
  double TextSize = 12;  // pixels, station names and hours
  std::string Title;     // GBK, drawn above the plot; empty: none
  // The width of a GBK text at a size, as the device draws it. Empty: an
  // estimate (a double-byte character one em wide, any other byte half).
  std::function<double(const std::string& text, double size)> TextWidth;
};

// Where one train went in the picture.
struct TGraphTrainShape {
  std::string ID;
  TGraphClass Class = TGraphClass::Ordinary;
  int Row = -1;
  std::vector<TGraphStop> Stops;  // the stops drawn: those on the route
  bool LeavesRoute = false;       // marked where it leaves, after Stops
};

struct TTrainGraph {
  double Width = 0;
  double Height = 0;
  // The plot area: the rectangle the trains are drawn in.
  double PlotLeft = 0, PlotTop = 0, PlotRight = 0, PlotBottom = 0;
  // x = X0 + minute * PxPerMin, y = Y0 + km * PxPerKm, where minute counts
  // as TGraphStop's do; in a day's span, minute modulo 1440.
  double X0 = 0;
  double PxPerMin = 0;
  double Y0 = 0;
  double PxPerKm = 0;
  std::int32_t FirstMinute = 0;  // the left edge
  std::int32_t LastMinute = 0;   // the right edge
  TGraphSpan Span = TGraphSpan::Day;
  TGraphRoute Route;
  std::vector<TGraphTrainShape> Trains;  // one per input train, in order
  std::vector<TGraphOp> Ops;             // grid, trains, then the legend
};

TTrainGraph LayoutTrainGraph(const std::vector<TGraphTrain>& trains, const TGraphSetup& setup);

// The clock minute (0..1439) and the kilometres a point of the plot stands
// for.
std::int32_t GraphMinuteAt(const TTrainGraph& graph, double x);
double GraphKmAt(const TTrainGraph& graph, double y);

// "K599 北京西 21:05": the train nearest to a point of the plot within a
// distance, its stop nearest in kilometres and the clock time under the
// point; -1 when no train passes that near.
struct TGraphHit {
  int Train = -1;  // index into TTrainGraph::Trains
  int Stop = -1;   // index into the train's stops
  std::int32_t Minute = 0;
};
TGraphHit HitTrain(const TTrainGraph& graph, double x, double y, double within);

// "HH:MM" of a clock minute, taken modulo a day.
std::string GraphClockText(std::int32_t minute);

}  // namespace vormek
