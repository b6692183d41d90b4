// The train graph's window over the trains of 北京→上海 in the program's own
// timetable: a click on a train selects that train's row, a double-click
// asks for its stops, the tip names the train under the pointer, the zoom
// keeps the point under the pointer, a drag pans, and the exported and
// printed files are what their names say.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "builtin_tables_test.h"
#include "data/embedded_items.h"
#include "gui_text/gbk_text.h"
#include "query/graph_trains.h"
#include "query/query_direct.h"
#include "services/graph_painter.h"
#include "ui/UnitGraph.h"

using namespace vormek;

namespace {

double DistanceToSegment(QPointF p, TGraphPoint a, TGraphPoint b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y, length = dx * dx + dy * dy;
  const double t = length > 0 ? std::clamp(((p.x() - a.X) * dx + (p.y() - a.Y) * dy) / length, 0.0, 1.0) : 0;
  return std::hypot(a.X + t * dx - p.x(), a.Y + t * dy - p.y());
}

// How near a train's drawn lines come to a point.
double DistanceToTrain(const TTrainGraph& graph, int train, QPointF p) {
  double nearest = 1e9;
  for (const TGraphOp& op : graph.Ops)
    if (const auto* path = std::get_if<TGraphPath>(&op);
        path && path->Train == train && path->Role != TGraphPathRole::Legend)
      for (std::size_t k = 1; k < path->Points.size(); ++k)
        nearest = std::min(nearest, DistanceToSegment(p, path->Points[k - 1], path->Points[k]));
  return nearest;
}

// A vertex of the train's first line, where it leaves a stop.
std::optional<QPointF> VertexOf(const TTrainGraph& graph, int train) {
  for (const TGraphOp& op : graph.Ops)
    if (const auto* path = std::get_if<TGraphPath>(&op);
        path && path->Train == train && path->Role == TGraphPathRole::Train && path->Points.size() >= 2)
      return QPointF(path->Points[1].X, path->Points[1].Y);
  return std::nullopt;
}

class FrmGraphTest : public TBuiltInTablesTest {
 protected:
  void SetUp() override {
    TFareTables fares = BuildFareTables();
    const TDirectResult result = QueryDirect(
        *tables_, fares, TStationPairRequest{*ToGbk(QStringLiteral("北京")), *ToGbk(QStringLiteral("上海"))});
    trains = GraphTrainsOf(*tables_, result.Rows);
    ASSERT_GT(trains.size(), 5u);
    // Rows as a sorted, filtered grid would number them.
    for (std::size_t i = 0; i < trains.size(); ++i) trains[i].Row = static_cast<int>(100 + 3 * i);
    TGraphActions actions;
    actions.SelectRow = [this](int row) { selected.push_back(row); };
    actions.OpenStops = [this](int row) { opened.push_back(row); };
    actions.AskExportFile = [this](QWidget*, const QString&) { return exportPath; };
    actions.Print = [this](QWidget*, const std::vector<TGraphTrain>& t, const TGraphSetup& setup) {
      printed.emplace_back(t.size(), setup.Span);
    };
    window = std::make_unique<TFrmGraph>(trains, QStringLiteral("北京→上海"), std::move(actions));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  QScrollBar* Across() const { return window->ScrollGraph->horizontalScrollBar(); }
  QScrollBar* Down() const { return window->ScrollGraph->verticalScrollBar(); }
  QPointF Scrolled() const { return QPointF(Across()->value(), Down()->value()); }
  // The unwrapped minute and the kilometres at a point of the viewport.
  std::pair<double, double> GraphAt(QPointF viewportPoint) const {
    const TTrainGraph& g = window->Graph();
    const QPointF c = viewportPoint + Scrolled();
    return {(c.x() - g.X0) / g.PxPerMin, (c.y() - g.Y0) / g.PxPerKm};
  }
  void Wheel(QPointF viewportPoint, int delta) {
    const QPointF at = viewportPoint - QPointF(window->Canvas->pos());
    QWheelEvent event(at, window->Canvas->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->Canvas, &event);
  }

  std::vector<TGraphTrain> trains;
  std::unique_ptr<TFrmGraph> window;
  std::vector<int> selected, opened;
  std::vector<std::pair<std::size_t, TGraphSpan>> printed;
  QString exportPath;
};

TEST_F(FrmGraphTest, ClickSelectsTheTrainUnderThePointerAndDoubleClickAsksForItsStops) {
  const TTrainGraph& graph = window->Graph();
  ASSERT_EQ(graph.Trains.size(), trains.size());
  int clicked = 0;
  for (int i = 0; i < static_cast<int>(graph.Trains.size()); ++i) {
    const std::optional<QPointF> vertex = VertexOf(graph, i);
    if (!vertex) continue;
    SCOPED_TRACE(graph.Trains[static_cast<std::size_t>(i)].ID);
    const QPoint at = vertex->toPoint();
    QTest::mouseClick(window->Canvas, Qt::LeftButton, Qt::NoModifier, at);
    // The train chosen is the one clicked, or one whose line runs through
    // the same pixel.
    const int chosen = window->SelectedTrain();
    ASSERT_GE(chosen, 0);
    EXPECT_LE(DistanceToTrain(graph, chosen, at), 1.0);
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.back(), trains[static_cast<std::size_t>(chosen)].Row);
    // The tip names that train, one of its stops and the time at the pointer.
    const QString tip = window->TipAt(at);
    const QStringList parts = tip.split(QLatin1Char(' '));
    ASSERT_EQ(parts.size(), 3) << tip.toStdString();
    EXPECT_EQ(parts[0], FromGbk(graph.Trains[static_cast<std::size_t>(chosen)].ID));
    const auto& stops = graph.Trains[static_cast<std::size_t>(chosen)].Stops;
    EXPECT_TRUE(
        std::any_of(stops.begin(), stops.end(), [&](const TGraphStop& s) { return FromGbk(s.Station) == parts[1]; }));
    EXPECT_EQ(parts[2], FromGbk(GraphClockText(GraphMinuteAt(graph, at.x()))));
    QTest::mouseDClick(window->Canvas, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.back(), trains[static_cast<std::size_t>(window->SelectedTrain())].Row);
    ++clicked;
  }
  EXPECT_GT(clicked, 5);
  // Away from every train nothing is chosen and nothing is said.
  const std::size_t asked = selected.size();
  const QPointF corner(graph.Width - 2, 2);
  EXPECT_TRUE(window->TipAt(corner).isEmpty());
  QTest::mouseClick(window->Canvas, Qt::LeftButton, Qt::NoModifier, corner.toPoint());
  EXPECT_EQ(window->SelectedTrain(), -1);
  EXPECT_EQ(selected.size(), asked);
}

TEST_F(FrmGraphTest, ZoomKeepsThePointUnderThePointerAndDragPans) {
  const TTrainGraph start = window->Graph();
  const QSize viewport = window->ScrollGraph->viewport()->size();
  const QPointF points[] = {QPointF(viewport.width() * 0.3, viewport.height() * 0.6),
                            QPointF(viewport.width() * 0.8, viewport.height() * 0.2),
                            QPointF(viewport.width() * 0.5, viewport.height() * 0.5)};
  for (const QPointF& p : points) {
    for (int delta : {120, 240, -120}) {
      const auto [minute, km] = GraphAt(p);
      const double zoom = window->Zoom();
      const double pxPerMin = window->Graph().PxPerMin;
      Wheel(p, delta);
      EXPECT_NEAR(window->Zoom(), zoom * std::pow(1.25, delta / 120.0), 1e-9);
      EXPECT_GT(window->Graph().PxPerMin / pxPerMin, delta > 0 ? 1.1 : 0.0);
      EXPECT_LT(window->Graph().PxPerMin / pxPerMin, delta > 0 ? 2.0 : 0.9);
      const auto [minuteAfter, kmAfter] = GraphAt(p);
      EXPECT_NEAR(minuteAfter, minute, 1.0 / window->Graph().PxPerMin);
      EXPECT_NEAR(kmAfter, km, 1.0 / window->Graph().PxPerKm);
    }
  }
  // A drag moves the view with the pointer and selects nothing.
  const QPointF before = Scrolled();
  const QPoint from = window->Canvas->mapFromParent(QPoint(viewport.width() / 2, viewport.height() / 2));
  QTest::mousePress(window->Canvas, Qt::LeftButton, Qt::NoModifier, from);
  QMouseEvent move(QEvent::MouseMove, QPointF(from - QPoint(60, 30)),
                   window->Canvas->mapToGlobal(QPointF(from - QPoint(60, 30))), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(window->Canvas, &move);
  EXPECT_EQ(Scrolled() - before, QPointF(60, 30));
  QTest::mouseRelease(window->Canvas, Qt::LeftButton, Qt::NoModifier, from - QPoint(60, 30));
  EXPECT_TRUE(selected.empty());
  // The keys: + zooms, 0 goes back to the whole graph, - stops there.
  const double zoom = window->Zoom();
  QTest::keyClick(window->Canvas, Qt::Key_Plus);
  EXPECT_GT(window->Zoom(), zoom);
  QTest::keyClick(window->Canvas, Qt::Key_0);
  QTest::keyClick(window->Canvas, Qt::Key_Minus);
  EXPECT_EQ(window->Zoom(), 1.0);
  EXPECT_DOUBLE_EQ(window->Graph().PxPerMin, start.PxPerMin);
  EXPECT_EQ(Scrolled(), QPointF(0, 0));
  // The trains' own hours in place of the day.
  window->RBTrains->click();
  EXPECT_EQ(window->Graph().Span, TGraphSpan::Trains);
}

TEST_F(FrmGraphTest, ExportAndPrintWriteTheGraph) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  exportPath = dir.filePath(QStringLiteral("运行图.png"));
  window->BTNExport->click();
  const QImage png(exportPath);
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), QSize(TFrmGraph::ExportWidth, TFrmGraph::ExportHeight));
  // Not a blank page: the grid and the trains are drawn on the white.
  int inked = 0;
  for (int y = 0; y < png.height(); y += 4)
    for (int x = 0; x < png.width(); x += 4) inked += png.pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_GT(inked, 500);
  // The same trains as an SVG document, by the name's suffix.
  exportPath = dir.filePath(QStringLiteral("运行图.svg"));
  window->BTNExport->click();
  QFile svg(exportPath);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray document = svg.readAll();
  EXPECT_TRUE(document.startsWith("<?xml") || document.startsWith("<svg"));
  EXPECT_TRUE(document.contains("</svg>"));
  for (const TGraphTrain& train : trains) EXPECT_TRUE(document.contains(FromGbk(train.ID).toUtf8())) << train.ID;
  exportPath.clear();
  window->BTNExport->click();  // cancelled: nothing written, nothing thrown

  window->RBTrains->click();
  window->BTNPrint->click();
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], std::make_pair(trains.size(), TGraphSpan::Trains));
  const QString pdf = dir.filePath(QStringLiteral("运行图.pdf"));
  WriteTrainGraphPdf(pdf, trains, window->ExportSetup());
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_TRUE(bytes.contains("/MediaBox [0 0 842"));  // A4, turned to landscape
}

}  // namespace
