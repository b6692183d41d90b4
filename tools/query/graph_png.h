#pragma once
// The train graph as a PNG file, drawn without Qt: lines and marks by the
// stroke rasteriser, texts with FreeType, the file by the PNG encoder.
#include <optional>
#include <string>

#include "graph_font.h"
#include "output/train_graph.h"
#include "rgb_image.h"

namespace vormek::cli {

// The picture's size: Width x Height rounded; nullopt (and a message) when
// it is not between 1 and kMaxGraphSide pixels a side.
inline constexpr int kMaxGraphSide = 16384;
inline constexpr long kMaxGraphPixels = 40L * 1000 * 1000;
std::optional<TRgbImage> GraphCanvas(const TTrainGraph& graph, std::string& error);

// The ops in their order on a white canvas. A graph with texts needs a
// font; without one its texts are left out, so only a caller that has
// checked there are none passes nullptr.
void RenderGraph(const TTrainGraph& graph, TGraphFont* font, TRgbImage& image);

// The PNG file's bytes, for a caller that writes them itself; nullopt and
// the reason (as WriteGraphPng's) when the size is out of range. Texts
// need a font, as for RenderGraph.
std::optional<std::string> GraphPng(const TTrainGraph& graph, TGraphFont* font, std::string& error);

// Renders and writes the graph to path (the bytes the user gave), whole or
// not at all (see ReplaceFile). False and the reason when there is no
// Chinese face for its texts, the size is out of range or the file cannot
// be written; the reason is GBK text for the terminal's codec
// (TTextCodec::Output) and does not name the file: the caller does.
bool WriteGraphPng(const TTrainGraph& graph, const std::string& path, std::string& error);
// The same with a font the caller opened (and may have measured the layout
// with).
bool WriteGraphPng(const TTrainGraph& graph, TGraphFont& font, const std::string& path, std::string& error);

}  // namespace vormek::cli
