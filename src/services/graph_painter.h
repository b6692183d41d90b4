#pragma once
// The train graph on Qt devices: its drawing operations replayed with a
// QPainter, measured in the face they are drawn in, and written as a PNG
// picture, an SVG file or a PDF page, or printed.
#include <QImage>
#include <QPagedPaintDevice>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "output/train_graph.h"

class QFont;
class QPainter;

namespace vormek {

// The Song face the graph's texts are drawn in, at a size in pixels.
QFont GraphFont(double pixelSize);

// TGraphSetup::TextWidth: a GBK text's width in GraphFont at a size, so the
// layout makes room for texts as they are drawn.
std::function<double(const std::string& text, double size)> GraphTextWidth();

// Draws the operations in the painter's coordinates (the layout's pixels);
// the train at index `highlighted` (if any) is drawn thicker, over the rest.
// forScreen: the thin lines one pixel wide, fast enough for every repaint of
// a window; pictures and pages keep every line's width.
void PaintTrainGraph(QPainter& painter, const TTrainGraph& graph, int highlighted = -1, bool forScreen = false);

// The graph on a white picture of its own size, `scale` pixels per layout
// pixel.
QImage TrainGraphImage(const TTrainGraph& graph, double scale = 1, int highlighted = -1);

// Writes the picture as a PNG file. Throws std::runtime_error naming the
// file when it cannot be written.
void WriteTrainGraphPng(const QString& path, const TTrainGraph& graph, double scale = 1);

// Writes the graph as an SVG document. Throws std::runtime_error naming the
// file when it cannot be written.
void WriteTrainGraphSvg(const QString& path, const TTrainGraph& graph);

// Lays the trains out on the device's page, turned to landscape, and draws
// them fitted to its printable area. Throws std::runtime_error when the
// device refuses to start.
void PrintTrainGraphOn(QPagedPaintDevice& device, const std::vector<TGraphTrain>& trains, TGraphSetup setup);

// The same as an A4 PDF file at path; throws std::runtime_error naming the
// file when it cannot be written.
void WriteTrainGraphPdf(const QString& path, const std::vector<TGraphTrain>& trains, const TGraphSetup& setup);

}  // namespace vormek
