#pragma once
// The face the PNG writer draws Chinese with, found without fontconfig (the
// query tool links neither it nor Qt): VORMEK_GRAPH_FONT when set, else the
// first of the well-known font files that exists, a Song (Ming) face first.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "output/train_graph.h"
#include "rgb_image.h"

namespace vormek::cli {

// The font files looked for, in order.
const std::vector<std::string>& KnownGraphFontFiles();

class TGraphFont {
 public:
  // nullptr and a message (GBK, for the terminal's codec) when no face with
  // Chinese glyphs opens. A VORMEK_GRAPH_FONT that does not open is an
  // error, not a reason to look further.
  static std::unique_ptr<TGraphFont> Open(std::string& error);
  static std::unique_ptr<TGraphFont> OpenFile(const std::string& path, std::string& error);
  ~TGraphFont();
  TGraphFont(const TGraphFont&) = delete;
  TGraphFont& operator=(const TGraphFont&) = delete;

  const std::string& File() const;
  // The advance width of a GBK text at a size in pixels: what the layout's
  // TGraphSetup::TextWidth wants, so that it places labels as they are drawn.
  double TextWidth(std::string_view gbk, double size);
  // The glyphs of a text placed by its anchor; they point into the font's
  // cache and stay valid while the font lives.
  std::vector<TCoverageBitmap> Place(const TGraphText& text);

 private:
  struct TImpl;
  explicit TGraphFont(std::unique_ptr<TImpl> impl);
  std::unique_ptr<TImpl> impl_;
};

}  // namespace vormek::cli
