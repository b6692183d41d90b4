#include "stroke_raster.h"

#include <algorithm>
#include <cmath>

namespace vormek::cli {
namespace {

float Clamp01(double v) { return float(std::clamp(v, 0.0, 1.0)); }

bool Finite(TGraphPoint p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// The part of a segment within a rectangle (Liang-Barsky), as the
// parameters t0 <= t1 of a + t (b - a); false when it misses.
bool ClipSegment(TGraphPoint a, TGraphPoint b, double left, double top, double right, double bottom, double& t0,
                 double& t1) {
  t0 = 0;
  t1 = 1;
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.X - left, right - a.X, a.Y - top, bottom - a.Y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, r);
    else
      t1 = std::min(t1, r);
  }
  return t0 <= t1;
}

// Where a walk along a dash pattern stands.
class TDashWalk {
 public:
  explicit TDashWalk(const std::vector<double>& pattern) : pattern_(pattern), left_(pattern.front()) {
    for (double v : pattern) period_ += v;
  }
  bool On() const { return index_ % 2 == 0; }
  bool AtElementStart() const { return left_ == pattern_[index_]; }
  double Left() const { return left_; }
  void Advance(double distance) {
    // Whole periods change nothing; skipping them keeps a long clipped-off
    // stretch from costing a step per dash.
    if (distance > period_) distance = std::fmod(distance, period_);
    while (distance > 0) {
      const double step = std::min(distance, left_);
      distance -= step;
      Consume(step);
    }
  }
  void Consume(double step) {
    left_ -= step;
    if (left_ <= 1e-9) {
      index_ = (index_ + 1) % pattern_.size();
      left_ = pattern_[index_];
    }
  }

 private:
  const std::vector<double>& pattern_;
  std::size_t index_ = 0;
  double left_ = 0;
  double period_ = 0;
};

}  // namespace

std::vector<double> DashPattern(TGraphLineStyle style, double width) {
  const double w = std::max(width, 1.0);
  switch (style) {
    case TGraphLineStyle::Solid: return {};
    case TGraphLineStyle::Dashed: return {6 * w, 4 * w};
    case TGraphLineStyle::Dotted: return {w, 2 * w};
    case TGraphLineStyle::DashDot: return {6 * w, 3 * w, w, 3 * w};
  }
  return {};
}

TStrokeRaster::TStrokeRaster(TRgbImage& image)
    : image_(image),
      cover_(std::size_t(image.Width) * image.Height, 0.0f),
      rowFirst_(image.Height, image.Width),
      rowLast_(image.Height, -1),
      top_(image.Height) {}

void TStrokeRaster::Path(const TGraphPath& path) {
  if (!(path.Width > 0) || path.Points.size() < 2) return;
  // Wider than the picture draws nothing more.
  const double width = std::min(path.Width, double(image_.Width + image_.Height));
  std::vector<TGraphPoint> run;
  for (const TGraphPoint& p : path.Points) {
    if (Finite(p)) {
      run.push_back(p);
      continue;
    }
    Polyline(run, width, path.Style);
    run.clear();
  }
  Polyline(run, width, path.Style);
  LayOver(path.Colour);
}

void TStrokeRaster::Mark(const TGraphMark& mark) {
  if (!Finite({mark.X, mark.Y}) || !(mark.Size > 0) || mark.Size > image_.Width + image_.Height) return;
  const double h = mark.Size / 2;
  const double half = std::max(0.75, mark.Size / 10);
  Piece({mark.X - h, mark.Y - h}, {mark.X + h, mark.Y + h}, half, 1, {false, false});
  Piece({mark.X - h, mark.Y + h}, {mark.X + h, mark.Y - h}, half, 1, {false, false});
  LayOver(mark.Colour);
}

void TStrokeRaster::Polyline(const std::vector<TGraphPoint>& points, double width, TGraphLineStyle style) {
  if (points.size() < 2) return;
  // A line thinner than a pixel is drawn a pixel wide, fainter.
  const double half = std::max(width, 1.0) / 2;
  const double alpha = std::min(width, 1.0);
  const std::vector<double> pattern = DashPattern(style, width);
  const double margin = half + 2;
  const double left = -margin, top = -margin;
  const double right = image_.Width + margin, bottom = image_.Height + margin;
  if (pattern.empty()) {
    for (std::size_t i = 1; i < points.size(); ++i) {
      double t0 = 0, t1 = 1;
      const TGraphPoint a = points[i - 1], b = points[i];
      if (!ClipSegment(a, b, left, top, right, bottom, t0, t1)) continue;
      const TGraphPoint ca{a.X + (b.X - a.X) * t0, a.Y + (b.Y - a.Y) * t0};
      const TGraphPoint cb{a.X + (b.X - a.X) * t1, a.Y + (b.Y - a.Y) * t1};
      Piece(ca, cb, half, alpha, {true, true});
    }
    return;
  }
  // The pattern runs on across the vertices; a dash that turns a corner
  // keeps a round join there and square ends only where it starts and stops.
  TDashWalk walk(pattern);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const TGraphPoint a = points[i - 1], b = points[i];
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double length = std::hypot(dx, dy);
    if (!std::isfinite(length) || length == 0) continue;
    double t0 = 0, t1 = 1;
    if (!ClipSegment(a, b, left, top, right, bottom, t0, t1)) {
      walk.Advance(length);
      continue;
    }
    walk.Advance(t0 * length);
    double at = t0 * length;
    const double end = t1 * length;
    while (at < end) {
      const double step = std::min(walk.Left(), end - at);
      if (walk.On()) {
        const bool starts = walk.AtElementStart();
        const bool stops = step >= walk.Left() - 1e-9;
        const TGraphPoint p{a.X + dx * at / length, a.Y + dy * at / length};
        const TGraphPoint q{a.X + dx * (at + step) / length, a.Y + dy * (at + step) / length};
        Piece(p, q, half, alpha, {!starts, !stops});
      }
      walk.Consume(step);
      at += step;
    }
    walk.Advance(length - end);
  }
}

// Coverage of one straight piece: the distance of each pixel's centre from
// the piece gives a one-pixel ramp at the edges (a box filter's, near
// enough). Only the pixels of each row that can be within reach are visited.
void TStrokeRaster::Piece(TGraphPoint a, TGraphPoint b, double halfWidth, double alpha, TEnds ends) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double length = std::hypot(dx, dy);
  const double ux = length > 0 ? dx / length : 1, uy = length > 0 ? dy / length : 0;
  const double reach = halfWidth + 1;
  const int width = image_.Width;
  const int y0 = std::max(0, int(std::floor(std::min(a.Y, b.Y) - reach)));
  const int y1 = std::min(image_.Height - 1, int(std::ceil(std::max(a.Y, b.Y) + reach)));
  for (int y = y0; y <= y1; ++y) {
    // The piece's x where its y is within reach of this row.
    double s0 = 0, s1 = 1;
    if (dy != 0) {
      s0 = std::clamp((y - reach - a.Y) / dy, 0.0, 1.0);
      s1 = std::clamp((y + 1 + reach - a.Y) / dy, 0.0, 1.0);
      if (s0 > s1) std::swap(s0, s1);
    } else if (a.Y < y - reach || a.Y > y + 1 + reach) {
      continue;
    }
    const double xa = a.X + dx * s0, xb = a.X + dx * s1;
    const int x0 = std::max(0, int(std::floor(std::min(xa, xb) - reach)));
    const int x1 = std::min(width - 1, int(std::ceil(std::max(xa, xb) + reach)));
    if (x0 > x1) continue;
    float* row = &cover_[std::size_t(y) * width];
    const double py = y + 0.5 - a.Y;
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5 - a.X;
      const double along = px * ux + py * uy;
      const double across = std::abs(px * uy - py * ux);
      double c = halfWidth + 0.5 - across;
      if (ends.RoundStart) {
        if (along < 0) c = halfWidth + 0.5 - std::hypot(px, py);
      } else {
        c = std::min(c, 0.5 + along);
      }
      if (ends.RoundEnd) {
        if (along > length) c = halfWidth + 0.5 - std::hypot(x + 0.5 - b.X, y + 0.5 - b.Y);
      } else {
        c = std::min(c, 0.5 + length - along);
      }
      if (c <= 0) continue;
      row[x] = std::max(row[x], Clamp01(c) * float(alpha));
    }
    rowFirst_[y] = std::min(rowFirst_[y], x0);
    rowLast_[y] = std::max(rowLast_[y], x1);
    top_ = std::min(top_, y);
    bottom_ = std::max(bottom_, y);
  }
}

void TStrokeRaster::LayOver(TGraphColour colour) {
  for (int y = top_; y <= bottom_; ++y) {
    float* row = &cover_[std::size_t(y) * image_.Width];
    for (int x = rowFirst_[y]; x <= rowLast_[y]; ++x) {
      if (row[x] > 0) image_.Blend(x, y, colour, row[x]);
      row[x] = 0;
    }
    rowFirst_[y] = image_.Width;
    rowLast_[y] = -1;
  }
  top_ = image_.Height;
  bottom_ = -1;
}

}  // namespace vormek::cli
