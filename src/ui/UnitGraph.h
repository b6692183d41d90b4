#pragma once
// The train graph's window ("运行图"): the trains of the main grid between
// two stations, time across and kilometres down. The wheel zooms around the
// pointer, a drag pans, the keys + - 0 and the arrows do the same; hovering
// a train names it, its nearest stop and the time; a click selects the train
// (and its row in the main grid), a double-click opens its stop list. The
// graph exports as PNG or SVG and prints on one landscape page.
#include <QDialog>
#include <QPointF>
#include <functional>
#include <optional>
#include <vector>

#include "output/train_graph.h"
#include "ui/graph_actions.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace vormek {

class TFrmGraph : public QDialog {
  Q_OBJECT

 public:
  static constexpr int InitialWidth = 1000;
  static constexpr int InitialHeight = 640;
  static constexpr double MaxZoom = 16;
  // How near (in pixels) the pointer must come to a train to hit it.
  static constexpr double HitDistance = 6;
  // The size exported pictures are laid out at.
  static constexpr double ExportWidth = 1600;
  static constexpr double ExportHeight = 1000;

  // section names the stations, "北京→上海"; each train's Row is handed
  // back by the actions.
  TFrmGraph(std::vector<TGraphTrain> trains, const QString& section, TGraphActions actions, QWidget* parent = nullptr);
  ~TFrmGraph() override;

  // Other trains (the main grid's rows changed); the zoom and the span stay.
  // An empty section: no query to name (and, as a rule, no trains).
  void SetTrains(std::vector<TGraphTrain> trains, const QString& section);
  const std::vector<TGraphTrain>& Trains() const { return trains_; }

  // The graph as shown: the canvas's coordinates are the layout's.
  const TTrainGraph& Graph() const { return graph_; }
  TGraphSpan Span() const;
  double Zoom() const { return zoom_; }
  // Multiplies the zoom by factor, keeping the time and kilometres under the
  // point of the viewport where they are.
  void ZoomAt(double factor, const QPointF& viewportPoint);
  void ResetZoom();

  // "K599 北京西 21:05" for a point of the canvas; empty away from trains.
  QString TipAt(const QPointF& canvasPoint) const;
  // The index into Graph().Trains of the selected train; -1 for none.
  int SelectedTrain() const { return selected_; }
  // Selects a train and tells SelectRow; -1 selects none.
  void SelectTrain(int train);
  // Highlights the train of a grid row chosen elsewhere (none when no train
  // is that row's), without telling SelectRow back.
  void ShowRow(int row);
  void OpenTrain(int train);

  // Writes the graph to path: SVG for a ".svg" file, PNG otherwise.
  void ExportTo(const QString& path) const;
  TGraphSetup ExportSetup() const;
  void BTNExportClick();
  void BTNPrintClick();
  // The pointer over a point of the canvas: the tip and the time and
  // kilometres beside the count; none (nullopt) when it left.
  void PointerAt(const std::optional<QPointF>& canvasPoint, const QPoint& globalPoint = {});

  QRadioButton* RBDay = nullptr;
  QRadioButton* RBTrains = nullptr;
  QLabel* LabCount = nullptr;
  QLabel* LabWhere = nullptr;
  QScrollArea* ScrollGraph = nullptr;
  QWidget* Canvas = nullptr;  // the graph, inside ScrollGraph
  QPushButton* BTNExport = nullptr;
  QPushButton* BTNPrint = nullptr;
  QPushButton* BTNClose = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  // Lays the graph out at the viewport's size times the zoom.
  void Relayout();
  void ShowCount();
  TGraphSetup Setup() const;

  std::vector<TGraphTrain> trains_;
  QString section_;
  TGraphActions actions_;
  TTrainGraph graph_;
  std::function<double(const std::string&, double)> textWidth_;
  double zoom_ = 1;
  int selected_ = -1;
};

}  // namespace vormek
