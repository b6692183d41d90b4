#include "graph_raster.h"

#include <algorithm>
#include <cmath>

namespace vormek::cli {
namespace {

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

TGraphRaster::TGraphRaster(TRgbImage& image) : image_(image), row_(image.Width, 0.0f), rowFirst_(image.Width) {}

void TGraphRaster::Path(const TGraphPath& path) {
  ++order_;
  if (!(path.Width > 0) || path.Points.size() < 2) return;
  // Wider than the picture draws nothing more.
  const double width = std::min(path.Width, double(image_.Width + image_.Height));
  std::vector<TGraphPoint> run;
  for (const TGraphPoint& p : path.Points) {
    if (Finite(p)) {
      run.push_back(p);
      continue;
    }
    Polyline(run, width, path.Style, path.Colour);
    run.clear();
  }
  Polyline(run, width, path.Style, path.Colour);
}

void TGraphRaster::Mark(const TGraphMark& mark) {
  ++order_;
  if (!Finite({mark.X, mark.Y}) || !(mark.Size > 0) || mark.Size > image_.Width + image_.Height) return;
  const double h = mark.Size / 2;
  const double half = std::max(0.75, mark.Size / 10);
  Piece({mark.X - h, mark.Y - h}, {mark.X + h, mark.Y + h}, half, 1, {false, false}, mark.Colour);
  Piece({mark.X - h, mark.Y + h}, {mark.X + h, mark.Y - h}, half, 1, {false, false}, mark.Colour);
}

void TGraphRaster::Bitmaps(const std::vector<TCoverageBitmap>& bitmaps, TGraphColour colour) {
  ++order_;
  for (const TCoverageBitmap& bitmap : bitmaps) {
    TItem item;
    item.Order = order_;
    item.Top = std::max(0, bitmap.Top);
    item.Bottom = std::min(image_.Height - 1, bitmap.Top + bitmap.Rows - 1);
    item.Colour = colour;
    item.IsBitmap = true;
    item.Bitmap = bitmap;
    if (item.Top <= item.Bottom && bitmap.Left < image_.Width && bitmap.Left + bitmap.Width > 0) items_.push_back(item);
  }
}

void TGraphRaster::Polyline(const std::vector<TGraphPoint>& points, double width, TGraphLineStyle style,
                            TGraphColour colour) {
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
      Piece(ca, cb, half, alpha, {true, true}, colour);
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
        Piece(p, q, half, alpha, {!starts, !stops}, colour);
      }
      walk.Consume(step);
      at += step;
    }
    walk.Advance(length - end);
  }
}

void TGraphRaster::Piece(TGraphPoint a, TGraphPoint b, double halfWidth, double alpha, TEnds ends,
                         TGraphColour colour) {
  TItem item;
  item.Order = order_;
  item.Colour = colour;
  TPiece& piece = item.Piece;
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
  // Coverage ends half a pixel beyond the edge, and beyond a square end
  // too: the rows take both halves.
  const double reach = halfWidth + 1;
  item.Top = std::max(0, int(std::floor(std::min(a.Y, b.Y) - reach)));
  item.Bottom = std::min(image_.Height - 1, int(std::ceil(std::max(a.Y, b.Y) + reach)));
  if (item.Top <= item.Bottom) items_.push_back(item);
}

// Coverage of a piece in one row: the distance of each pixel's centre from
// the piece gives a one-pixel ramp at the edges (a box filter's, near
// enough). Only the pixels within reach are visited.
void TGraphRaster::CoverRow(const TPiece& piece, int y) {
  const TGraphPoint a = piece.A, b = piece.B;
  const double halfWidth = piece.HalfWidth, reach = halfWidth + 0.5;
  // The pixel centres of the row within reach: in the strip of that half
  // width along the piece's line, and in its box grown by the reach and
  // the half pixel a square end's coverage runs on.
  const double yc = y + 0.5;
  double lo = std::min(a.X, b.X) - reach - 0.5, hi = std::max(a.X, b.X) + reach + 0.5;
  if (std::abs(piece.UY) > 1e-12) {
    const double crossing = a.X + (yc - a.Y) * piece.UX / piece.UY;
    const double half = reach / std::abs(piece.UY);
    lo = std::max(lo, crossing - half);
    hi = std::min(hi, crossing + half);
  } else if (std::abs(yc - a.Y) > reach) {
    return;
  }
  const int x0 = std::max(0, int(std::ceil(std::max(lo - 0.5, -1.0))));
  const int x1 = std::min(image_.Width - 1, int(std::floor(std::min(hi - 0.5, double(image_.Width)))));
  if (x0 > x1) return;
  // Along and across the piece from a, stepped a pixel at a time. Round
  // ends take the distance from the end point beyond it; square ones cut
  // the coverage off over the half pixel either side of it.
  const double ux = piece.UX, uy = piece.UY, length = piece.Length, edge = halfWidth + 0.5;
  const double px = x0 + 0.5 - a.X, py = y + 0.5 - a.Y;
  double along = px * ux + py * uy;
  double across = px * uy - py * ux;
  const double startZone = piece.Ends.RoundStart ? 0 : 0.5;
  const double endZone = piece.Ends.RoundEnd ? length : length - 0.5;
  const auto alpha = float(piece.Alpha);
  for (int x = x0; x <= x1; ++x, along += ux, across += uy) {
    double c = edge - std::abs(across);
    if (along < startZone)
      c = piece.Ends.RoundStart ? edge - std::sqrt(along * along + across * across) : std::min(c, 0.5 + along);
    if (along > endZone) {
      const double beyond = along - length;
      c = piece.Ends.RoundEnd ? edge - std::sqrt(beyond * beyond + across * across) : std::min(c, 0.5 - beyond);
    }
    // No test of c against zero: at a line's edges half the pixels fail it
    // and the branch was mispredicted more often than not.
    row_[x] = std::max(row_[x], float(std::min(std::max(c, 0.0), 1.0)) * alpha);
  }
  rowFirst_ = std::min(rowFirst_, x0);
  rowLast_ = std::max(rowLast_, x1);
}

// A sweep down the rows, with the items that reach the current row.
void TGraphRaster::Render() {
  std::stable_sort(items_.begin(), items_.end(), [](const TItem& p, const TItem& q) { return p.Top < q.Top; });
  active_.clear();
  std::size_t next = 0;
  int y = 0;
  while (next < items_.size() || !active_.empty()) {
    if (active_.empty()) y = std::max(y, items_[next].Top);
    for (; next < items_.size() && items_[next].Top <= y; ++next) {
      const TItem* item = &items_[next];
      const auto at = std::upper_bound(active_.begin(), active_.end(), item->Order,
                                       [](int order, const TItem* p) { return order < p->Order; });
      active_.insert(at, item);
    }
    RenderRow(y);
    ++y;
    std::erase_if(active_, [y](const TItem* p) { return p->Bottom < y; });
  }
  items_.clear();
}

void TGraphRaster::RenderRow(int y) {
  for (std::size_t i = 0; i < active_.size(); ++i) {
    const TItem& item = *active_[i];
    if (item.IsBitmap) {
      const TCoverageBitmap& b = item.Bitmap;
      const std::uint8_t* coverage = b.Coverage + std::size_t(y - b.Top) * b.Width;
      for (int x = std::max(0, -b.Left); x < b.Width && b.Left + x < image_.Width; ++x)
        if (coverage[x] != 0) image_.Blend(b.Left + x, y, item.Colour, coverage[x] + (coverage[x] >> 7));
      continue;
    }
    CoverRow(item.Piece, y);
    if (i + 1 == active_.size() || active_[i + 1]->Order != item.Order || active_[i + 1]->IsBitmap)
      LayRowOver(y, item.Colour);
  }
}

void TGraphRaster::LayRowOver(int y, TGraphColour colour) {
  for (int x = rowFirst_; x <= rowLast_; ++x) {
    if (row_[x] > 0) image_.Blend(x, y, colour, int(row_[x] * 256 + 0.5f));
    row_[x] = 0;
  }
  rowFirst_ = image_.Width;
  rowLast_ = -1;
}

}  // namespace vormek::cli
