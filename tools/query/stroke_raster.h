#pragma once
// The train graph's lines and marks, antialiased. Each path's coverage is
// gathered first and laid over the picture once, so that where its pieces
// meet (the joins of a polyline, the round ends inside a dash) the colour
// is not laid twice and no darker knot shows.
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
  void Polyline(const std::vector<TGraphPoint>& points, double width, TGraphLineStyle style);
  void Piece(TGraphPoint a, TGraphPoint b, double halfWidth, double alpha, TEnds ends);
  void LayOver(TGraphColour colour);

  TRgbImage& image_;
  std::vector<float> cover_;
  std::vector<int> rowFirst_, rowLast_;  // the columns each row's coverage spans
  int top_ = 0, bottom_ = -1;            // the rows that hold coverage
};

// The on and off lengths of a style at a width; empty for a solid line.
std::vector<double> DashPattern(TGraphLineStyle style, double width);

}  // namespace vormek::cli
