#include "graph_png.h"

#include <cmath>
#include <type_traits>
#include <variant>

#include "graph_raster.h"
#include "png_encoder.h"
#include "replaced_file.h"

namespace vormek::cli {
namespace {

bool HasText(const TTrainGraph& graph) {
  for (const TGraphOp& op : graph.Ops)
    if (const auto* text = std::get_if<TGraphText>(&op); text != nullptr && !text->Text.empty()) return true;
  return false;
}

bool Write(const TTrainGraph& graph, TGraphFont* font, const std::string& path, std::string& error) {
  const std::optional<std::string> png = GraphPng(graph, font, error);
  return png && ReplaceFile(path, *png, error);
}

}  // namespace

std::optional<TRgbImage> GraphCanvas(const TTrainGraph& graph, std::string& error) {
  const double width = std::round(graph.Width), height = std::round(graph.Height);
  if (!(width >= 1 && height >= 1 && width <= kMaxGraphSide && height <= kMaxGraphSide &&
        width * height <= double(kMaxGraphPixels))) {
    error = "the graph's size is out of range (1 to 16384 pixels a side)";
    return std::nullopt;
  }
  return TRgbImage(int(width), int(height));
}

void RenderGraph(const TTrainGraph& graph, TGraphFont* font, TRgbImage& image) {
  TGraphRaster raster(image);
  for (const TGraphOp& op : graph.Ops) {
    std::visit(
        [&](const auto& item) {
          using T = std::decay_t<decltype(item)>;
          if constexpr (std::is_same_v<T, TGraphPath>)
            raster.Path(item);
          else if constexpr (std::is_same_v<T, TGraphMark>)
            raster.Mark(item);
          else
            raster.Bitmaps(font != nullptr ? font->Place(item) : std::vector<TCoverageBitmap>{}, item.Colour);
        },
        op);
  }
  raster.Render();
}

std::optional<std::string> GraphPng(const TTrainGraph& graph, TGraphFont* font, std::string& error) {
  std::optional<TRgbImage> image = GraphCanvas(graph, error);
  if (!image) return std::nullopt;
  RenderGraph(graph, font, *image);
  return EncodePng(*image);
}

bool WriteGraphPng(const TTrainGraph& graph, const std::string& path, std::string& error) {
  if (!HasText(graph)) return Write(graph, nullptr, path, error);
  std::unique_ptr<TGraphFont> font = TGraphFont::Open(error);
  return font != nullptr && Write(graph, font.get(), path, error);
}

bool WriteGraphPng(const TTrainGraph& graph, TGraphFont& font, const std::string& path, std::string& error) {
  return Write(graph, &font, path, error);
}

}  // namespace vormek::cli
