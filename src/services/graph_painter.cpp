#include "services/graph_painter.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPen>
#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>

#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "output/train_graph_svg.h"
#include "services/log_categories.h"

namespace vormek {
namespace {

// Layout pixels are screen pixels at 96 dots an inch; pages are scaled from
// them.
constexpr double kLayoutDpi = 96;

QColor ColourOf(const TGraphColour& c) { return QColor(c.R, c.G, c.B); }

// One font per size: a graph draws hundreds of texts in two or three sizes.
class TFontCache {
 public:
  const QFont& At(double size) {
    auto it = fonts_.find(size);
    if (it == fonts_.end()) it = fonts_.emplace(size, GraphFont(size)).first;
    return it->second;
  }

 private:
  std::map<double, QFont> fonts_;
};

class TGraphReplay {
 public:
  TGraphReplay(QPainter& painter, double widthFactor, bool screen)
      : painter_(painter), widthFactor_(widthFactor), screen_(screen) {}

  void operator()(const TGraphPath& path) {
    if (path.Points.size() < 2) return;
    // The grid's rules run straight across or down: drawn without
    // antialiasing they stay sharp and cost a fraction of a stroked path.
    const bool rule = path.Role == TGraphPathRole::Grid;
    painter_.setRenderHint(QPainter::Antialiasing, !rule);
    // Dashes as the SVG has them, in pen widths, with flat ends: Qt's own
    // patterns with round caps turn each dash into a path of its own.
    const bool solid = path.Style == TGraphLineStyle::Solid;
    QPen pen(ColourOf(path.Colour), path.Width * widthFactor_, Qt::SolidLine, solid ? Qt::RoundCap : Qt::FlatCap,
             Qt::RoundJoin);
    if (!solid) {
      const std::vector<double> pattern = GraphDashPattern(path.Style);
      pen.setDashPattern(QList<qreal>(pattern.begin(), pattern.end()));
    }
    // On a screen, lines up to a pixel and a half are drawn one pixel wide by
    // Qt's cosmetic stroker, many times faster than a stroked path: a repaint
    // of a thousand trains must fit in a frame. A highlighted train and the
    // printed page keep their widths.
    if (screen_ && pen.widthF() <= 1.6) {
      pen.setWidthF(1);
      pen.setCosmetic(true);
    }
    painter_.setPen(pen);
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(path.Points.size()));
    for (const TGraphPoint& p : path.Points) line << QPointF(p.X, p.Y);
    painter_.drawPolyline(line);
  }

  void operator()(const TGraphText& text) {
    if (text.Text.empty()) return;
    const QFont& font = fonts_.At(text.Size);
    const QString shown = FromGbk(text.Text);
    double x = text.X;
    if (text.Anchor != TGraphAnchor::Start) {
      const double width = QFontMetricsF(font).horizontalAdvance(shown);
      x -= text.Anchor == TGraphAnchor::Middle ? width / 2 : width;
    }
    painter_.setFont(font);
    painter_.setPen(ColourOf(text.Colour));
    painter_.drawText(QPointF(x, text.Y), shown);
  }

  void operator()(const TGraphMark& mark) {
    const double half = mark.Size / 2;
    painter_.setPen(QPen(ColourOf(mark.Colour), 1.5 * widthFactor_, Qt::SolidLine, Qt::RoundCap));
    painter_.drawLine(QPointF(mark.X - half, mark.Y - half), QPointF(mark.X + half, mark.Y + half));
    painter_.drawLine(QPointF(mark.X - half, mark.Y + half), QPointF(mark.X + half, mark.Y - half));
  }

 private:
  QPainter& painter_;
  double widthFactor_;
  bool screen_;
  TFontCache fonts_;
};

int TrainOf(const TGraphOp& op) {
  return std::visit([](const auto& o) { return o.Train; }, op);
}

void ProbeWritable(const QString& path) {
  QFile probe(path);
  if (!probe.open(QIODevice::WriteOnly)) {
    throw std::runtime_error(
        QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), probe.errorString()).toStdString());
  }
}

}  // namespace

QFont GraphFont(double pixelSize) {
  QFont font = SongFont(12);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
  return font;
}

std::function<double(const std::string& text, double size)> GraphTextWidth() {
  auto fonts = std::make_shared<TFontCache>();
  return [fonts](const std::string& text, double size) {
    return QFontMetricsF(fonts->At(size)).horizontalAdvance(FromGbk(text));
  };
}

void PaintTrainGraph(QPainter& painter, const TTrainGraph& graph, int highlighted, bool forScreen) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  TGraphReplay plain(painter, 1, forScreen);
  for (const TGraphOp& op : graph.Ops) std::visit(plain, op);
  // The chosen train again, thicker, so that no other line crosses it.
  if (highlighted >= 0) {
    TGraphReplay bold(painter, 2.5, false);
    for (const TGraphOp& op : graph.Ops)
      if (TrainOf(op) == highlighted) std::visit(bold, op);
  }
  painter.restore();
}

QImage TrainGraphImage(const TTrainGraph& graph, double scale, int highlighted) {
  const QSize size(std::max(1, static_cast<int>(std::ceil(graph.Width * scale))),
                   std::max(1, static_cast<int>(std::ceil(graph.Height * scale))));
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.scale(scale, scale);
  PaintTrainGraph(painter, graph, highlighted);
  return image;
}

void WriteTrainGraphPng(const QString& path, const TTrainGraph& graph, double scale) {
  ProbeWritable(path);
  if (!TrainGraphImage(graph, scale).save(path, "PNG")) {
    throw std::runtime_error(QStringLiteral("无法写入文件 %1").arg(QDir::toNativeSeparators(path)).toStdString());
  }
  qCInfo(lcPrint) << "train graph written to" << path;
}

void WriteTrainGraphSvg(const QString& path, const TTrainGraph& graph) {
  const std::string svg = TrainGraphSvg(graph);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(svg.data(), static_cast<qint64>(svg.size())) != static_cast<qint64>(svg.size())) {
    throw std::runtime_error(
        QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString()).toStdString());
  }
  qCInfo(lcPrint) << "train graph written to" << path;
}

void PrintTrainGraphOn(QPagedPaintDevice& device, const std::vector<TGraphTrain>& trains, TGraphSetup setup) {
  device.setPageOrientation(QPageLayout::Landscape);
  const double dots = device.logicalDpiX() / kLayoutDpi;
  setup.Width = device.width() / dots;
  setup.Height = device.height() / dots;
  if (!setup.TextWidth) setup.TextWidth = GraphTextWidth();
  const TTrainGraph graph = LayoutTrainGraph(trains, setup);
  QPainter painter;
  if (!painter.begin(&device)) throw std::runtime_error("打印机无法开始打印。");
  painter.scale(dots, dots);
  PaintTrainGraph(painter, graph);
  painter.end();
}

void WriteTrainGraphPdf(const QString& path, const std::vector<TGraphTrain>& trains, const TGraphSetup& setup) {
  ProbeWritable(path);
  QPdfWriter writer(path);
  writer.setResolution(600);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setTitle(QStringLiteral("运行图"));
  writer.setCreator(QStringLiteral("维墨克时刻表"));
  PrintTrainGraphOn(writer, trains, setup);
  qCInfo(lcPrint) << "train graph written to" << path;
}

}  // namespace vormek
