#include "output/train_graph.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace vormek {

namespace {

struct TClassLook {
  TGraphColour Colour;
  TGraphLineStyle Style;
  double Width;
};

// Red for the high-speed lines as on the railway's own graphs, then colours
// far enough apart to tell six classes at a glance; the slow trains are
// dashed and dotted so that they stay apart in print without colour.
constexpr std::array<TClassLook, kGraphClassCount> kClassLooks{{
    {{0xD0, 0x10, 0x1B}, TGraphLineStyle::Solid, 1.6},
    {{0xE0, 0x66, 0x00}, TGraphLineStyle::Solid, 1.4},
    {{0x8E, 0x24, 0xAA}, TGraphLineStyle::Solid, 1.4},
    {{0x15, 0x65, 0xC0}, TGraphLineStyle::Solid, 1.2},
    {{0x2E, 0x7D, 0x32}, TGraphLineStyle::Dashed, 1.2},
    {{0x55, 0x55, 0x55}, TGraphLineStyle::Dotted, 1.2},
}};

constexpr TGraphColour kInk{0x33, 0x33, 0x33};
constexpr TGraphColour kHourRule{0x96, 0x96, 0x96};
constexpr TGraphColour kHalfHourRule{0xBE, 0xBE, 0xBE};
constexpr TGraphColour kTenMinuteRule{0xE2, 0xE2, 0xE2};
constexpr TGraphColour kStationRule{0xC8, 0xC8, 0xC8};

const TClassLook& LookOf(TGraphClass c) { return kClassLooks[static_cast<std::size_t>(c)]; }

// Kilometre posts of trains on one route rarely agree to the kilometre: two
// lengths or two posts this close stand for the same place.
double Tolerance(double km) { return std::max(5.0, km / 50.0); }

double EstimateWidth(const std::string& text, double size) {
  double halves = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size()) ++i, ++halves;
    ++halves;
  }
  return halves * size / 2;
}

template <typename T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[(values.size() - 1) / 2];
}

using TRouteLookup = std::map<std::string, std::int32_t, std::less<>>;

TRouteLookup LookupOf(const TGraphRoute& route) {
  TRouteLookup lookup;
  for (const TGraphAxisStation& s : route.Stations) lookup.emplace(s.Name, s.Km);
  return lookup;
}

std::size_t StopsOnRoute(const TGraphTrain& train, const TGraphRoute& route, const TRouteLookup& lookup) {
  const std::vector<TGraphStop>& stops = train.Stops;
  if (stops.empty()) return 0;
  std::size_t last = 0;
  for (std::size_t i = 1; i < stops.size(); ++i) {
    const auto it = lookup.find(stops[i].Station);
    if (it != lookup.end()) {
      if (std::abs(stops[i].Km - it->second) > Tolerance(it->second)) break;
      last = i;
    } else if (i + 1 == stops.size() && std::abs(stops[i].Km - route.LengthKm) <= Tolerance(route.LengthKm)) {
      last = i;
    }
  }
  return last + 1;
}

// A train's vertices: the boarding stop's departure, each stop between at
// its arrival and (when it waits) its departure, and the alighting stop's
// arrival.
struct TVertex {
  std::int32_t Minute;
  std::int32_t Km;
};

// A train cut where it leaves the route still waits at its last stop drawn.
std::vector<TVertex> VerticesOf(const std::vector<TGraphStop>& stops, bool continues) {
  std::vector<TVertex> v;
  v.reserve(stops.size() * 2);
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const TGraphStop& s = stops[i];
    if (i > 0) v.push_back({s.Arrive, s.Km});
    if ((i + 1 < stops.size() || continues) && (i == 0 || s.Depart != s.Arrive)) v.push_back({s.Depart, s.Km});
  }
  // One stop: a point, drawn as a path of two.
  if (v.empty() && !stops.empty()) v.push_back({stops[0].Depart, stops[0].Km});
  if (v.size() == 1) v.push_back(v.front());
  return v;
}

struct TPieces {
  std::vector<std::vector<TGraphPoint>> Runs;   // drawn through the stops
  std::vector<std::vector<TGraphPoint>> Wraps;  // to and from the edges at midnight
};

// A day's graph breaks a train where it passes midnight: the run goes on
// from the left edge, as a train graph of one day is read.
TPieces PiecesOf(const TTrainGraph& g, const std::vector<TVertex>& vertices) {
  TPieces p;
  if (vertices.empty()) return p;
  const auto yOf = [&](double km) { return g.Y0 + km * g.PxPerKm; };
  if (g.Span == TGraphSpan::Trains) {
    std::vector<TGraphPoint>& run = p.Runs.emplace_back();
    for (const TVertex& v : vertices) run.push_back({g.X0 + v.Minute * g.PxPerMin, yOf(v.Km)});
    return p;
  }
  const auto dayOf = [](std::int32_t m) { return m >= 0 ? m / kMinutesPerDay : -1 - (-m - 1) / kMinutesPerDay; };
  const auto xOf = [&](double minuteOfDay) { return g.X0 + minuteOfDay * g.PxPerMin; };
  std::vector<TGraphPoint>* run = &p.Runs.emplace_back();
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const TVertex& v = vertices[i];
    const int day = dayOf(v.Minute);
    if (i > 0 && dayOf(vertices[i - 1].Minute) != day) {
      // From the last vertex to the right edge, from the left edge to this
      // one, and edge to edge for any whole day between (a leg never lasts
      // that long, but a day is all the graph shows).
      const TVertex& u = vertices[i - 1];
      const auto kmAt = [&](double minute) {
        return u.Km + (minute - u.Minute) / (v.Minute - u.Minute) * (v.Km - u.Km);
      };
      double from = u.Minute;
      for (int d = dayOf(u.Minute); d <= day; ++d) {
        const double dayStart = double(d) * kMinutesPerDay;
        const double to = std::min<double>(v.Minute, dayStart + kMinutesPerDay);
        if (to > from)
          p.Wraps.push_back({{xOf(from - dayStart), yOf(kmAt(from))}, {xOf(to - dayStart), yOf(kmAt(to))}});
        from = to;
      }
      run = &p.Runs.emplace_back();
    }
    run->push_back({xOf(v.Minute - double(day) * kMinutesPerDay), yOf(v.Km)});
  }
  return p;
}

struct TLabelBox {
  double Left, Top, Right, Bottom;
};

// The train numbers placed so far, so that none is written over another.
// Bucketed by 64-pixel columns: a thousand trains stay cheap to place.
class TPlacedLabels {
 public:
  bool Free(const TLabelBox& b) {
    const int first = Bucket(b.Left), last = Bucket(b.Right);
    for (int k = first; k <= last; ++k) {
      for (const TLabelBox& o : buckets_[k]) {
        if (b.Left < o.Right && o.Left < b.Right && b.Top < o.Bottom && o.Top < b.Bottom) return false;
      }
    }
    for (int k = first; k <= last; ++k) buckets_[k].push_back(b);
    return true;
  }

 private:
  static int Bucket(double x) { return static_cast<int>(std::floor(x / 64)); }
  std::map<int, std::vector<TLabelBox>> buckets_;
};

double SegmentDistance(TGraphPoint p, TGraphPoint a, TGraphPoint b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

double PathDistance(TGraphPoint p, const std::vector<TGraphPoint>& points) {
  if (points.size() == 1) return std::hypot(p.X - points[0].X, p.Y - points[0].Y);
  double best = INFINITY;
  for (std::size_t i = 1; i < points.size(); ++i) best = std::min(best, SegmentDistance(p, points[i - 1], points[i]));
  return best;
}

// Every tenth, half and whole hour up the plot, the finer rules left out
// where they would crowd.
void AddTimeRules(TTrainGraph& g, std::vector<TGraphOp>& ops) {
  for (std::int32_t m = g.FirstMinute; m <= g.LastMinute; m += 10) {
    const double x = g.X0 + m * g.PxPerMin;
    TGraphPath rule{{{x, g.PlotTop}, {x, g.PlotBottom}}, kTenMinuteRule, 0.5};
    if (m % 60 == 0) {
      rule.Colour = kHourRule;
      rule.Width = 1;
    } else if (m % 30 == 0) {
      if (60 * g.PxPerMin < 16) continue;
      rule.Colour = kHalfHourRule;
      rule.Style = TGraphLineStyle::Dashed;
    } else if (10 * g.PxPerMin < 4) {
      continue;
    }
    ops.emplace_back(std::move(rule));
  }
}

void AddHourLabels(const TTrainGraph& g, const TGraphSetup& setup, std::vector<TGraphOp>& ops) {
  const double s = setup.TextSize;
  const double hourPx = 60 * g.PxPerMin;
  int every = 1;
  for (int step : {1, 2, 3, 4, 6, 12, 24}) {
    every = step;
    if (step * hourPx >= 2.2 * s) break;
  }
  for (std::int32_t m = g.FirstMinute; m <= g.LastMinute; m += 60) {
    // A day ends at 24, where the next begins at 0.
    const int hour = g.Span == TGraphSpan::Day && m == kMinutesPerDay ? 24 : ((m / 60) % 24 + 24) % 24;
    if ((m / 60) % every != 0) continue;
    const double x = g.X0 + m * g.PxPerMin;
    const std::string text = std::to_string(hour);
    ops.emplace_back(TGraphText{x, g.PlotTop - 1.5 * s, text, s, kInk, TGraphAnchor::Middle});
    ops.emplace_back(TGraphText{x, g.PlotBottom + 1.2 * s, text, s, kInk, TGraphAnchor::Middle});
  }
}

// Stations at one kilometre share a rule and a label ("北京南/北京"); a
// label that would touch another is left out, the section's ends first kept.
struct TStationLine {
  std::int32_t Km;
  std::string Label;
  int Trains;
};

std::vector<TStationLine> StationLines(const TGraphRoute& route) {
  std::vector<TStationLine> lines;
  for (const TGraphAxisStation& s : route.Stations) {
    if (!lines.empty() && lines.back().Km == s.Km) {
      lines.back().Label += "/" + s.Name;
      lines.back().Trains += s.Trains;
    } else {
      lines.push_back({s.Km, s.Name, s.Trains});
    }
  }
  return lines;
}

void AddStationRules(const TTrainGraph& g, const TGraphSetup& setup, std::vector<TGraphOp>& ops) {
  const double s = setup.TextSize;
  const std::vector<TStationLine> lines = StationLines(g.Route);
  std::vector<double> labelled;
  const auto fits = [&](double y) {
    return std::none_of(labelled.begin(), labelled.end(), [&](double l) { return std::abs(l - y) < 1.15 * s; });
  };
  std::vector<bool> show(lines.size(), false);
  // The section's start and the route's end first (not a station a few
  // trains run on to), then the stations more trains call at.
  std::vector<std::size_t> order(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) order[i] = i;
  std::size_t end = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (std::abs(lines[i].Km - g.Route.LengthKm) < std::abs(lines[end].Km - g.Route.LengthKm)) end = i;
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const auto rank = [&](std::size_t i) { return i == 0 ? 0 : i == end ? 1 : 2; };
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    return lines[a].Trains > lines[b].Trains;
  });
  for (std::size_t i : order) {
    const double y = g.Y0 + lines[i].Km * g.PxPerKm;
    if (show[i] || !fits(y)) continue;
    show[i] = true;
    labelled.push_back(y);
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const double y = g.Y0 + lines[i].Km * g.PxPerKm;
    ops.emplace_back(TGraphPath{{{g.PlotLeft, y}, {g.PlotRight, y}}, kStationRule, 0.6});
    if (show[i])
      ops.emplace_back(TGraphText{g.PlotLeft - 0.4 * s, y + 0.35 * s, lines[i].Label, s, kInk, TGraphAnchor::End});
  }
}

void AddTrains(const TTrainGraph& g, const TGraphSetup& setup, std::vector<TGraphOp>& ops) {
  const auto width = [&](const std::string& text, double size) {
    return setup.TextWidth ? setup.TextWidth(text, size) : EstimateWidth(text, size);
  };
  TPlacedLabels placed;
  for (std::size_t i = 0; i < g.Trains.size(); ++i) {
    const TGraphTrainShape& t = g.Trains[i];
    if (t.Stops.empty()) continue;
    const TClassLook& look = LookOf(t.Class);
    const int index = static_cast<int>(i);
    const TPieces pieces = PiecesOf(g, VerticesOf(t.Stops, t.LeavesRoute));
    for (const auto& run : pieces.Runs) {
      ops.emplace_back(TGraphPath{run, look.Colour, look.Width, look.Style, TGraphPathRole::Train, index});
    }
    for (const auto& wrap : pieces.Wraps) {
      ops.emplace_back(TGraphPath{wrap, look.Colour, look.Width, look.Style, TGraphPathRole::Wrap, index});
    }
    // The number above the start of the line, else below its end; where
    // both would cover another number, only hovering tells the train.
    const double size = 0.8 * setup.TextSize;
    const double w = width(t.ID, size);
    const TGraphPoint start = pieces.Runs.front().front();
    const TGraphPoint end = pieces.Runs.back().back();
    const TLabelBox atStart{start.X + 2, start.Y - 3 - size, start.X + 2 + w, start.Y - 3};
    const TLabelBox atEnd{end.X - 2 - w, end.Y + 3, end.X - 2, end.Y + 3 + size};
    if (placed.Free(atStart)) {
      ops.emplace_back(TGraphText{start.X + 2, start.Y - 3, t.ID, size, look.Colour, TGraphAnchor::Start, index});
    } else if (placed.Free(atEnd)) {
      ops.emplace_back(
          TGraphText{end.X - 2, end.Y + 3 + 0.8 * size, t.ID, size, look.Colour, TGraphAnchor::End, index});
    }
    if (t.LeavesRoute) {
      ops.emplace_back(TGraphMark{end.X, end.Y, 0.5 * setup.TextSize, look.Colour, index});
    }
  }
}

void AddLegend(const TTrainGraph& g, const TGraphSetup& setup, std::vector<TGraphOp>& ops) {
  const double s = setup.TextSize;
  const auto width = [&](const std::string& text) {
    return setup.TextWidth ? setup.TextWidth(text, s) : EstimateWidth(text, s);
  };
  std::array<bool, kGraphClassCount> present{};
  bool leaves = false;
  for (const TGraphTrainShape& t : g.Trains) {
    present[static_cast<std::size_t>(t.Class)] = true;
    leaves = leaves || t.LeavesRoute;
  }
  double x = g.PlotLeft;
  const double y = g.PlotBottom + 3.2 * s;
  for (std::size_t c = 0; c < present.size(); ++c) {
    if (!present[c]) continue;
    const TClassLook& look = kClassLooks[c];
    ops.emplace_back(TGraphPath{
        {{x, y - 0.35 * s}, {x + 2.5 * s, y - 0.35 * s}}, look.Colour, look.Width, look.Style, TGraphPathRole::Legend});
    const std::string name = GraphClassName(static_cast<TGraphClass>(c));
    ops.emplace_back(TGraphText{x + 3 * s, y, name, s, kInk, TGraphAnchor::Start});
    x += 4.5 * s + width(name);
  }
  if (leaves) {
    ops.emplace_back(TGraphMark{x + 0.5 * s, y - 0.35 * s, 0.5 * s, kInk});
    ops.emplace_back(TGraphText{x + 1.5 * s, y, "此后离开图中线路", s, kInk, TGraphAnchor::Start});
  }
}

}  // namespace

std::vector<double> GraphDashPattern(TGraphLineStyle style) {
  switch (style) {
    case TGraphLineStyle::Dashed: return {6, 4};
    case TGraphLineStyle::Dotted: return {1.5, 2.5};
    case TGraphLineStyle::DashDot: return {6, 3, 1.5, 3};
    case TGraphLineStyle::Solid: break;
  }
  return {};
}

TGraphClass GraphClassOf(std::string_view id) {
  if (id.empty()) return TGraphClass::Ordinary;
  switch (id.front()) {
    case 'G':
    case 'C': return TGraphClass::HighSpeed;
    case 'D': return TGraphClass::Emu;
    case 'Z': return TGraphClass::Direct;
    case 'T': return TGraphClass::Express;
    case 'K': return TGraphClass::Fast;
    default: return TGraphClass::Ordinary;
  }
}

std::string GraphClassName(TGraphClass c) {
  switch (c) {
    case TGraphClass::HighSpeed: return "高速/城际";
    case TGraphClass::Emu: return "动车";
    case TGraphClass::Direct: return "直达";
    case TGraphClass::Express: return "特快";
    case TGraphClass::Fast: return "快速";
    case TGraphClass::Ordinary: break;
  }
  return "普快/普客";
}

TGraphRoute MainRoute(const std::vector<TGraphTrain>& trains) {
  std::vector<std::int32_t> lengths;
  for (const TGraphTrain& t : trains) {
    if (!t.Stops.empty()) lengths.push_back(t.Stops.back().Km);
  }
  TGraphRoute route;
  if (lengths.empty()) return route;
  std::sort(lengths.begin(), lengths.end());
  // The length most trains share, within the tolerance; on a tie the
  // shorter route.
  std::int32_t common = lengths.front();
  std::ptrdiff_t most = 0;
  for (std::int32_t l : lengths) {
    const double tol = Tolerance(l);
    const auto lo = std::lower_bound(lengths.begin(), lengths.end(), l - tol);
    const auto hi = std::upper_bound(lengths.begin(), lengths.end(), l + tol);
    if (hi - lo > most) most = hi - lo, common = l;
  }
  const double tol = Tolerance(common);
  std::map<std::string, std::vector<std::int32_t>, std::less<>> posts;
  std::vector<std::int32_t> routeLengths;
  for (const TGraphTrain& t : trains) {
    if (t.Stops.empty() || std::abs(t.Stops.back().Km - common) > tol) continue;
    routeLengths.push_back(t.Stops.back().Km);
    for (const TGraphStop& s : t.Stops) posts[s.Station].push_back(s.Km);
  }
  for (auto& [name, kms] : posts) {
    const int calls = static_cast<int>(kms.size());
    route.Stations.push_back({name, Median(std::move(kms)), calls});
  }
  std::stable_sort(route.Stations.begin(), route.Stations.end(),
                   [](const TGraphAxisStation& a, const TGraphAxisStation& b) { return a.Km < b.Km; });
  route.LengthKm = Median(std::move(routeLengths));
  return route;
}

std::size_t StopsOnRoute(const TGraphTrain& train, const TGraphRoute& route) {
  return StopsOnRoute(train, route, LookupOf(route));
}

TTrainGraph LayoutTrainGraph(const std::vector<TGraphTrain>& trains, const TGraphSetup& setup) {
  TTrainGraph g;
  g.Width = setup.Width;
  g.Height = setup.Height;
  g.Span = setup.Span;
  g.Route = MainRoute(trains);
  const TRouteLookup lookup = LookupOf(g.Route);
  std::int32_t lo = INT32_MAX, hi = INT32_MIN, maxKm = g.Route.LengthKm;
  g.Trains.reserve(trains.size());
  for (const TGraphTrain& t : trains) {
    TGraphTrainShape& shape = g.Trains.emplace_back();
    shape.ID = t.ID;
    shape.Class = t.Class;
    shape.Row = t.Row;
    const std::size_t drawn = StopsOnRoute(t, g.Route, lookup);
    shape.Stops.assign(t.Stops.begin(), t.Stops.begin() + static_cast<std::ptrdiff_t>(drawn));
    shape.LeavesRoute = drawn < t.Stops.size();
    for (const TGraphStop& s : shape.Stops) {
      lo = std::min({lo, s.Arrive, s.Depart});
      hi = std::max({hi, s.Arrive, s.Depart});
      maxKm = std::max(maxKm, s.Km);
    }
  }
  if (g.Span == TGraphSpan::Trains && lo <= hi) {
    g.FirstMinute = lo >= 0 ? lo / 60 * 60 : -((-lo + 59) / 60 * 60);
    g.LastMinute = std::max(g.FirstMinute + 60, hi >= 0 ? (hi + 59) / 60 * 60 : -(-hi / 60 * 60));
  } else {
    g.FirstMinute = 0;
    g.LastMinute = kMinutesPerDay;
  }

  const double s = setup.TextSize;
  const auto width = [&](const std::string& text) {
    return setup.TextWidth ? setup.TextWidth(text, s) : EstimateWidth(text, s);
  };
  double labels = 4 * s;
  for (const TStationLine& line : StationLines(g.Route)) labels = std::max(labels, width(line.Label));
  const double pad = s;
  const double title = setup.Title.empty() ? 0 : 2 * s;
  g.PlotLeft = std::min(pad + labels + 0.6 * s, setup.Width / 2);
  g.PlotRight = std::max(g.PlotLeft + 1, setup.Width - pad - s);
  g.PlotTop = pad + title + 2.7 * s;  // the hours, and the numbers of trains leaving at km 0
  g.PlotBottom = std::max(g.PlotTop + 1, setup.Height - pad - 4.5 * s);
  g.PxPerMin = (g.PlotRight - g.PlotLeft) / (g.LastMinute - g.FirstMinute);
  g.X0 = g.PlotLeft - g.FirstMinute * g.PxPerMin;
  g.PxPerKm = (g.PlotBottom - g.PlotTop) / std::max(1, maxKm);
  g.Y0 = g.PlotTop;

  std::vector<TGraphOp>& ops = g.Ops;
  AddTimeRules(g, ops);
  AddStationRules(g, setup, ops);
  ops.emplace_back(TGraphPath{{{g.PlotLeft, g.PlotTop},
                               {g.PlotRight, g.PlotTop},
                               {g.PlotRight, g.PlotBottom},
                               {g.PlotLeft, g.PlotBottom},
                               {g.PlotLeft, g.PlotTop}},
                              kInk,
                              1});
  AddHourLabels(g, setup, ops);
  if (!setup.Title.empty()) ops.emplace_back(TGraphText{g.PlotLeft, pad + 1.2 * s, setup.Title, 1.25 * s, kInk});
  if (std::none_of(g.Trains.begin(), g.Trains.end(), [](const TGraphTrainShape& t) { return !t.Stops.empty(); })) {
    ops.emplace_back(TGraphText{(g.PlotLeft + g.PlotRight) / 2, (g.PlotTop + g.PlotBottom) / 2, "没有车次", 1.5 * s,
                                kInk, TGraphAnchor::Middle});
  }
  AddTrains(g, setup, ops);
  AddLegend(g, setup, ops);
  return g;
}

std::int32_t GraphMinuteAt(const TTrainGraph& g, double x) {
  if (g.PxPerMin <= 0) return 0;
  const auto m = static_cast<std::int64_t>(std::llround((x - g.X0) / g.PxPerMin));
  return static_cast<std::int32_t>(((m % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay);
}

double GraphKmAt(const TTrainGraph& g, double y) { return g.PxPerKm > 0 ? (y - g.Y0) / g.PxPerKm : 0; }

TGraphHit HitTrain(const TTrainGraph& g, double x, double y, double within) {
  TGraphHit hit;
  double best = within;
  const TGraphPoint p{x, y};
  for (std::size_t i = 0; i < g.Trains.size(); ++i) {
    const TGraphTrainShape& t = g.Trains[i];
    if (t.Stops.empty()) continue;
    const TPieces pieces = PiecesOf(g, VerticesOf(t.Stops, t.LeavesRoute));
    double d = INFINITY;
    for (const auto& run : pieces.Runs) d = std::min(d, PathDistance(p, run));
    for (const auto& wrap : pieces.Wraps) d = std::min(d, PathDistance(p, wrap));
    if (d <= best) {
      best = d;
      hit.Train = static_cast<int>(i);
    }
  }
  if (hit.Train < 0) return hit;
  const double km = GraphKmAt(g, y);
  const auto& stops = g.Trains[static_cast<std::size_t>(hit.Train)].Stops;
  double nearest = INFINITY;
  for (std::size_t k = 0; k < stops.size(); ++k) {
    if (std::abs(stops[k].Km - km) < nearest) nearest = std::abs(stops[k].Km - km), hit.Stop = static_cast<int>(k);
  }
  hit.Minute = GraphMinuteAt(g, x);
  return hit;
}

std::string GraphClockText(std::int32_t minute) {
  const std::int32_t m = ((minute % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
  std::string text(5, ':');
  text[0] = static_cast<char>('0' + m / 600);
  text[1] = static_cast<char>('0' + m / 60 % 10);
  text[3] = static_cast<char>('0' + m % 60 / 10);
  text[4] = static_cast<char>('0' + m % 10);
  return text;
}

}  // namespace vormek
