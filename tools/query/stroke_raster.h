#pragma once
// The train graph's lines and marks, antialiased. A path's coverage is
// gathered a row at a time over all its pieces, taking the largest, and
// laid over the picture once, so that where its pieces meet (the joins of
// a polyline, the round ends inside a dash) the colour is not laid twice
// and no darker knot shows. Working row by row keeps the coverage in the
// cache: a whole picture's worth, visited path by path, was most of the
// time.
#include <vector>

#include "output/train_graph.h"
#include "rgb_image.h"

namespace vormek::cli {

class TStrokeRaster {
 public:
  explicit TStrokeRaster(TRgbImage& image);

  // Round joins; solid lines have round ends, dashes and dots square ones.
  // Points that are not finite break the line.
  void Path(const TGraphPath& path);
  // A diagonal cross, Size across.
  void Mark(const TGraphMark& mark);

 private:
  struct TEnds {
    bool RoundStart = true;
    bool RoundEnd = true;
  };
  // A straight piece of a path and the rows it can reach.
  struct TPiece {
    TGraphPoint A, B;
    double UX = 1, UY = 0, Length = 0;
    double HalfWidth = 0.5, Alpha = 1;
    TEnds Ends;
    int Top = 0, Bottom = -1;
  };
  void Polyline(const std::vector<TGraphPoint>& points, double width, TGraphLineStyle style);
  void Piece(TGraphPoint a, TGraphPoint b, double halfWidth, double alpha, TEnds ends);
  void CoverRow(const TPiece& piece, int y);
  void LayOver(TGraphColour colour);

  TRgbImage& image_;
  std::vector<TPiece> pieces_;  // the path's, gathered before it is laid over
  std::vector<const TPiece*> active_;
  std::vector<float> row_;           // one row's coverage
  int rowFirst_ = 0, rowLast_ = -1;  // the columns it spans
};

// The on and off lengths of a style at a width; empty for a solid line.
std::vector<double> DashPattern(TGraphLineStyle style, double width);

}  // namespace vormek::cli
