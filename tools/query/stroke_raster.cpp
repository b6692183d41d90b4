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

TStrokeRaster::TStrokeRaster(TRgbImage& image) : image_(image), row_(image.Width, 0.0f), rowFirst_(image.Width) {}

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
    const double length = std::sqrt(dx * dx + dy * dy);
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

void TStrokeRaster::Piece(TGraphPoint a, TGraphPoint b, double halfWidth, double alpha, TEnds ends) {
  TPiece piece;
  piece.A = a;
  piece.B = b;
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  piece.Length = std::sqrt(dx * dx + dy * dy);
  if (piece.Length > 0) {
    piece.UX = dx / piece.Length;
    piece.UY = dy / piece.Length;
  }
  piece.HalfWidth = halfWidth;
  piece.Alpha = alpha;
  piece.Ends = ends;
  // Coverage ends half a pixel beyond the edge.
  const double reach = halfWidth + 0.5;
  piece.Top = std::max(0, int(std::floor(std::min(a.Y, b.Y) - reach)));
  piece.Bottom = std::min(image_.Height - 1, int(std::ceil(std::max(a.Y, b.Y) + reach)));
  if (piece.Top <= piece.Bottom) pieces_.push_back(piece);
}

// Coverage of a piece in one row: the distance of each pixel's centre from
// the piece gives a one-pixel ramp at the edges (a box filter's, near
// enough). Only the pixels within reach are visited.
void TStrokeRaster::CoverRow(const TPiece& piece, int y) {
  const TGraphPoint a = piece.A, b = piece.B;
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double halfWidth = piece.HalfWidth, reach = halfWidth + 0.5;
  // The piece's x where its y is within reach of this row.
  double s0 = 0, s1 = 1;
  if (dy != 0) {
    s0 = std::clamp((y - reach - a.Y) / dy, 0.0, 1.0);
    s1 = std::clamp((y + 1 + reach - a.Y) / dy, 0.0, 1.0);
    if (s0 > s1) std::swap(s0, s1);
  } else if (a.Y < y - reach || a.Y > y + 1 + reach) {
    return;
  }
  const double xa = a.X + dx * s0, xb = a.X + dx * s1;
  const int x0 = std::max(0, int(std::floor(std::min(xa, xb) - reach)));
  const int x1 = std::min(image_.Width - 1, int(std::ceil(std::max(xa, xb) + reach)));
  if (x0 > x1) return;
  const double py = y + 0.5 - a.Y, qy = y + 0.5 - b.Y;
  const auto alpha = float(piece.Alpha);
  for (int x = x0; x <= x1; ++x) {
    const double px = x + 0.5 - a.X;
    const double along = px * piece.UX + py * piece.UY;
    const double across = std::abs(px * piece.UY - py * piece.UX);
    double c = halfWidth + 0.5 - across;
    if (piece.Ends.RoundStart) {
      if (along < 0) c = halfWidth + 0.5 - std::sqrt(px * px + py * py);
    } else {
      c = std::min(c, 0.5 + along);
    }
    if (piece.Ends.RoundEnd) {
      if (along > piece.Length) {
        const double qx = x + 0.5 - b.X;
        c = halfWidth + 0.5 - std::sqrt(qx * qx + qy * qy);
      }
    } else {
      c = std::min(c, 0.5 + piece.Length - along);
    }
    if (c <= 0) continue;
    row_[x] = std::max(row_[x], Clamp01(c) * alpha);
  }
  rowFirst_ = std::min(rowFirst_, x0);
  rowLast_ = std::max(rowLast_, x1);
}

// A sweep down the rows the pieces cover, with the pieces that reach the
// current row.
void TStrokeRaster::LayOver(TGraphColour colour) {
  std::sort(pieces_.begin(), pieces_.end(), [](const TPiece& p, const TPiece& q) { return p.Top < q.Top; });
  active_.clear();
  std::size_t next = 0;
  int y = 0;
  while (next < pieces_.size() || !active_.empty()) {
    if (active_.empty()) y = std::max(y, pieces_[next].Top);
    while (next < pieces_.size() && pieces_[next].Top <= y) active_.push_back(&pieces_[next++]);
    for (const TPiece* p : active_) CoverRow(*p, y);
    for (int x = rowFirst_; x <= rowLast_; ++x) {
      if (row_[x] > 0) image_.Blend(x, y, colour, row_[x]);
      row_[x] = 0;
    }
    rowFirst_ = image_.Width;
    rowLast_ = -1;
    ++y;
    std::erase_if(active_, [y](const TPiece* p) { return p->Bottom < y; });
  }
  pieces_.clear();
}

}  // namespace vormek::cli
