#pragma once
// The train graph's lines, marks and glyphs, antialiased, laid over the
// picture in the order they were added. Drawing goes down the picture a
// row at a time through every op that reaches the row, so that each row
// of the picture is fetched once rather than once per train: drawing the
// trains one after the other missed the cache on every row of every
// train. Within a path the coverage of its pieces is gathered for the row
// first, taking the largest, and laid over once, so that where its pieces
// meet (the joins of a polyline, the round ends inside a dash) the colour
// is not laid twice and no darker knot shows.
#include <vector>

#include "output/train_graph.h"
#include "rgb_image.h"

namespace vormek::cli {

class TGraphRaster {
 public:
  explicit TGraphRaster(TRgbImage& image);

  // Round joins; solid lines have round ends, dashes and dots square ones.
  // Points that are not finite break the line.
  void Path(const TGraphPath& path);
  // A diagonal cross, Size across.
  void Mark(const TGraphMark& mark);
  // A text's glyphs, in one colour.
  void Bitmaps(const std::vector<TCoverageBitmap>& bitmaps, TGraphColour colour);
  // Draws all that was added, and forgets it.
  void Render();

 private:
  struct TEnds {
    bool RoundStart = true;
    bool RoundEnd = true;
  };
  // A straight piece of a path.
  struct TPiece {
    TGraphPoint A, B;
    double UX = 1, UY = 0, Length = 0;
    double HalfWidth = 0.5, Alpha = 1;
    TEnds Ends;
  };
  // A piece or a glyph, and the rows it reaches.
  struct TItem {
    int Order = 0;  // the op's place in the drawing order
    int Top = 0, Bottom = -1;
    TGraphColour Colour;
    bool IsBitmap = false;
    TPiece Piece;
    TCoverageBitmap Bitmap;
  };
  void Polyline(const std::vector<TGraphPoint>& points, double width, TGraphLineStyle style, TGraphColour colour);
  void Piece(TGraphPoint a, TGraphPoint b, double halfWidth, double alpha, TEnds ends, TGraphColour colour);
  void RenderRow(int y);
  void CoverRow(const TPiece& piece, int y);
  void LayRowOver(int y, TGraphColour colour);

  TRgbImage& image_;
  int order_ = 0;
  std::vector<TItem> items_;
  std::vector<const TItem*> active_;  // those reaching the current row, in drawing order
  std::vector<float> row_;            // one path's coverage of the current row
  int rowFirst_ = 0, rowLast_ = -1;   // the columns it spans
};

// The on and off lengths of a style at a width; empty for a solid line.
std::vector<double> DashPattern(TGraphLineStyle style, double width);

}  // namespace vormek::cli
