#include "ui/UnitGraph.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "services/graph_painter.h"
#include "services/pdf_export.h"
#include "services/save_dialog.h"
#include "ui/dialog_frame.h"

namespace vormek {
namespace {

constexpr double kWheelStep = 1.25;  // the zoom of one notch of the wheel
constexpr int kArrowStep = 40;       // pixels an arrow key pans
constexpr double kPinnedTextSize = 12;

QString PngOrSvgName(QWidget* parent, const QString& suggested) {
  return AskSaveFileName(parent, {QStringLiteral("导出运行图"),
                                  {QStringLiteral("PNG图片(*.png)"), QStringLiteral("SVG图形(*.svg)")},
                                  {QStringLiteral("png"), QStringLiteral("svg")},
                                  suggested});
}

void PrintWithDialog(QWidget* parent, const std::vector<TGraphTrain>& trains, const TGraphSetup& setup) {
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    const auto answer = QMessageBox::question(parent, QStringLiteral(" 打印提示"),
                                              QStringLiteral("没有打印机，无法打印。\n是否导出为PDF文件？"),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) return;
    const QString name = AskPdfFileName(parent);
    if (!name.trimmed().isEmpty()) WriteTrainGraphPdf(WithPdfExtension(name), trains, setup);
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("运行图"));
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintTrainGraphOn(printer, trains, setup);
}

}  // namespace

TGraphActions DefaultGraphActions() {
  TGraphActions actions;
  actions.AskExportFile = PngOrSvgName;
  actions.Print = PrintWithDialog;
  return actions;
}

// The graph itself: paints the window's layout and turns the mouse and the
// keys into the window's zoom, pan, tips and choices.
class TGraphCanvas : public QWidget {
 public:
  TGraphCanvas(TFrmGraph& frame, QScrollArea& scroll) : QWidget(&scroll), frame_(frame), scroll_(scroll) {
    setObjectName(QStringLiteral("GraphCanvas"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    PaintTrainGraph(painter, frame_.Graph(), frame_.SelectedTrain(), true);
    PaintPinnedAxes(painter, QRect(-pos(), scroll_.viewport()->size()));
  }

  void wheelEvent(QWheelEvent* event) override {
    const int notches = event->angleDelta().y();
    if (notches == 0) return QWidget::wheelEvent(event);
    frame_.ZoomAt(std::pow(kWheelStep, notches / 120.0), event->position() + QPointF(pos()));
    event->accept();
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    pressedAt_ = event->globalPosition();
    scrollAtPress_ = QPoint(scroll_.horizontalScrollBar()->value(), scroll_.verticalScrollBar()->value());
    dragging_ = false;
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton)) {
      frame_.PointerAt(event->position(), event->globalPosition().toPoint());
      return;
    }
    const QPointF moved = event->globalPosition() - pressedAt_;
    if (!dragging_ && moved.manhattanLength() < QApplication::startDragDistance()) return;
    if (!dragging_) {
      dragging_ = true;
      frame_.PointerAt(std::nullopt);
      setCursor(Qt::ClosedHandCursor);
    }
    scroll_.horizontalScrollBar()->setValue(scrollAtPress_.x() - static_cast<int>(std::lround(moved.x())));
    scroll_.verticalScrollBar()->setValue(scrollAtPress_.y() - static_cast<int>(std::lround(moved.y())));
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    if (dragging_) {
      dragging_ = false;
      unsetCursor();
      return;
    }
    frame_.SelectTrain(HitAt(event->position()));
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    frame_.OpenTrain(HitAt(event->position()));
  }

  void leaveEvent(QEvent* event) override {
    frame_.PointerAt(std::nullopt);
    QWidget::leaveEvent(event);
  }

  void keyPressEvent(QKeyEvent* event) override {
    const QPointF centre = QRectF(scroll_.viewport()->rect()).center();
    QScrollBar* across = scroll_.horizontalScrollBar();
    QScrollBar* down = scroll_.verticalScrollBar();
    switch (event->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal: frame_.ZoomAt(kWheelStep, centre); break;
      case Qt::Key_Minus: frame_.ZoomAt(1 / kWheelStep, centre); break;
      case Qt::Key_0: frame_.ResetZoom(); break;
      case Qt::Key_Left: across->setValue(across->value() - kArrowStep); break;
      case Qt::Key_Right: across->setValue(across->value() + kArrowStep); break;
      case Qt::Key_Up: down->setValue(down->value() - kArrowStep); break;
      case Qt::Key_Down: down->setValue(down->value() + kArrowStep); break;
      default: return QWidget::keyPressEvent(event);
    }
    event->accept();
  }

 private:
  // Zoomed in, the stations' names and the hours would scroll away with
  // the margins; they are drawn again along the visible edges.
  void PaintPinnedAxes(QPainter& painter, const QRect& visible) const {
    const TTrainGraph& graph = frame_.Graph();
    const QFont font = GraphFont(kPinnedTextSize);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const QColor band(255, 255, 255, 225);
    const QColor ink(0x33, 0x33, 0x33);
    // The hours' strip along the top, when the top margin is gone; the
    // names below it.
    const double hoursBottom = visible.top() > 0 ? visible.top() + metrics.height() + 6 : visible.top();
    if (visible.left() > 0) {
      double width = 0;
      for (const TGraphAxisStation& station : graph.Route.Stations)
        width = std::max(width, metrics.horizontalAdvance(FromGbk(station.Name)));
      const QRectF strip(visible.left(), visible.top(), width + 8, visible.height());
      painter.fillRect(strip, band);
      painter.setPen(ink);
      for (const TGraphAxisStation& station : graph.Route.Stations) {
        const double y = graph.Y0 + station.Km * graph.PxPerKm;
        if (y - metrics.ascent() / 2 < hoursBottom || y > visible.bottom()) continue;
        const QString name = FromGbk(station.Name);
        painter.drawText(QPointF(strip.right() - 4 - metrics.horizontalAdvance(name), y + metrics.ascent() / 2 - 1),
                         name);
      }
    }
    if (visible.top() > 0) {
      const QRectF strip(visible.left(), visible.top(), visible.width(), hoursBottom - visible.top());
      painter.fillRect(strip, band);
      painter.setPen(ink);
      for (std::int32_t minute = graph.FirstMinute; minute <= graph.LastMinute; minute += 60) {
        const double x = graph.X0 + minute * graph.PxPerMin;
        if (x < visible.left() || x > visible.right()) continue;
        const int clock = minute / 60;
        const QString hour = QString::number(clock > 24 ? clock % 24 : clock);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(hour) / 2, strip.top() + 3 + metrics.ascent()), hour);
      }
    }
  }

  int HitAt(const QPointF& point) const {
    return HitTrain(frame_.Graph(), point.x(), point.y(), TFrmGraph::HitDistance).Train;
  }

  TFrmGraph& frame_;
  QScrollArea& scroll_;
  QPointF pressedAt_;
  QPoint scrollAtPress_;
  bool dragging_ = false;
};

TFrmGraph::TFrmGraph(std::vector<TGraphTrain> trains, const QString& section, TGraphActions actions, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      trains_(std::move(trains)),
      section_(section),
      actions_(std::move(actions)),
      textWidth_(GraphTextWidth()) {
  setObjectName(QStringLiteral("FrmGraph"));
  BuildLayout();
  SetTrains(std::move(trains_), section);
}

// The scroll area outlives the window's own members while the widgets are
// taken down; its resizes must not reach them then.
TFrmGraph::~TFrmGraph() { ScrollGraph->removeEventFilter(this); }

void TFrmGraph::BuildLayout() {
  setFont(SongFont(12));
  SetFixedBackground(*this, QColor(0xE3, 0xEF, 0xF3));
  resize(InitialWidth, InitialHeight);
  setMinimumSize(520, 360);

  RBDay = new QRadioButton(QStringLiteral("24小时"), this);
  RBDay->setObjectName(QStringLiteral("RBDay"));
  RBDay->setChecked(true);
  RBTrains = new QRadioButton(QStringLiteral("列车区间"), this);
  RBTrains->setObjectName(QStringLiteral("RBTrains"));
  auto* spans = new QButtonGroup(this);
  spans->addButton(RBDay);
  spans->addButton(RBTrains);
  LabCount = CountLabel(this, QRect());
  LabWhere = new QLabel(this);
  LabWhere->setObjectName(QStringLiteral("LabWhere"));
  LabWhere->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  ScrollGraph = new QScrollArea(this);
  ScrollGraph->setObjectName(QStringLiteral("ScrollGraph"));
  ScrollGraph->setWidgetResizable(false);
  ScrollGraph->setFocusPolicy(Qt::NoFocus);
  ScrollGraph->setBackgroundRole(QPalette::Base);
  auto* canvas = new TGraphCanvas(*this, *ScrollGraph);
  ScrollGraph->setWidget(canvas);
  Canvas = canvas;
  ScrollGraph->installEventFilter(this);
  // The pinned axes move with the view: no part of it may be scrolled
  // as it was drawn.
  for (QScrollBar* bar : {ScrollGraph->horizontalScrollBar(), ScrollGraph->verticalScrollBar()})
    connect(bar, &QScrollBar::valueChanged, Canvas, qOverload<>(&QWidget::update));

  BTNExport = DialogButton(this, QStringLiteral("导出…"), QStringLiteral("BTNExport"), QRect());
  BTNPrint = DialogButton(this, QStringLiteral("打印…"), QStringLiteral("BTNPrint"), QRect());
  BTNClose = DialogButton(this, QStringLiteral("关闭"), QStringLiteral("BTNClose"), QRect());
  for (QPushButton* button : {BTNExport, BTNPrint, BTNClose}) button->setMinimumSize(90, 28);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("时间范围:"), this));
  top->addWidget(RBDay);
  top->addWidget(RBTrains);
  top->addSpacing(16);
  top->addWidget(LabCount, 1);
  top->addWidget(LabWhere);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(BTNExport);
  bottom->addWidget(BTNPrint);
  bottom->addStretch(1);
  bottom->addWidget(BTNClose);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(9, 7, 9, 7);
  column->addLayout(top);
  column->addWidget(ScrollGraph, 1);
  column->addLayout(bottom);

  connect(RBDay, &QRadioButton::toggled, this, [this] { ResetZoom(); });
  connect(BTNExport, &QPushButton::clicked, this, &TFrmGraph::BTNExportClick);
  connect(BTNPrint, &QPushButton::clicked, this, &TFrmGraph::BTNPrintClick);
  connect(BTNClose, &QPushButton::clicked, this, &QDialog::accept);
  setTabOrder(RBDay, RBTrains);
  setTabOrder(RBTrains, Canvas);
  setTabOrder(Canvas, BTNExport);
  setTabOrder(BTNExport, BTNPrint);
  setTabOrder(BTNPrint, BTNClose);
  Canvas->setFocus();
}

void TFrmGraph::SetTrains(std::vector<TGraphTrain> trains, const QString& section) {
  trains_ = std::move(trains);
  section_ = section;
  selected_ = -1;
  setWindowTitle(section_.isEmpty() ? QStringLiteral("运行图") : QStringLiteral("运行图 – ") + section_);
  Relayout();
  ShowCount();
}

TGraphSpan TFrmGraph::Span() const { return RBTrains->isChecked() ? TGraphSpan::Trains : TGraphSpan::Day; }

TGraphSetup TFrmGraph::Setup() const {
  TGraphSetup setup;
  setup.Span = Span();
  setup.Title = ToGbk(section_ + QStringLiteral(" 列车运行图")).value_or(std::string());
  setup.TextWidth = textWidth_;
  return setup;
}

TGraphSetup TFrmGraph::ExportSetup() const {
  TGraphSetup setup = Setup();
  setup.Width = ExportWidth;
  setup.Height = ExportHeight;
  return setup;
}

void TFrmGraph::Relayout() {
  // The viewport without scroll bars: at zoom 1 the graph fits it exactly.
  const QSize fit = ScrollGraph->maximumViewportSize();
  const QSize size(std::max(1, static_cast<int>(std::lround(fit.width() * zoom_))),
                   std::max(1, static_cast<int>(std::lround(fit.height() * zoom_))));
  TGraphSetup setup = Setup();
  setup.Width = size.width();
  setup.Height = size.height();
  graph_ = LayoutTrainGraph(trains_, setup);
  Canvas->resize(size);
  Canvas->update();
}

void TFrmGraph::ZoomAt(double factor, const QPointF& viewportPoint) {
  const double zoom = std::clamp(zoom_ * factor, 1.0, MaxZoom);
  if (zoom == zoom_) return;
  QScrollBar* across = ScrollGraph->horizontalScrollBar();
  QScrollBar* down = ScrollGraph->verticalScrollBar();
  // The minute and kilometre under the point, unwrapped, stay under it.
  const QPointF before = viewportPoint + QPointF(across->value(), down->value());
  const double minute = graph_.PxPerMin > 0 ? (before.x() - graph_.X0) / graph_.PxPerMin : 0;
  const double km = graph_.PxPerKm > 0 ? (before.y() - graph_.Y0) / graph_.PxPerKm : 0;
  zoom_ = zoom;
  Relayout();
  const QPointF after(graph_.X0 + minute * graph_.PxPerMin, graph_.Y0 + km * graph_.PxPerKm);
  across->setValue(static_cast<int>(std::lround(after.x() - viewportPoint.x())));
  down->setValue(static_cast<int>(std::lround(after.y() - viewportPoint.y())));
}

void TFrmGraph::ResetZoom() {
  zoom_ = 1;
  Relayout();
  ScrollGraph->horizontalScrollBar()->setValue(0);
  ScrollGraph->verticalScrollBar()->setValue(0);
}

bool TFrmGraph::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollGraph && event->type() == QEvent::Resize) Relayout();
  return QDialog::eventFilter(watched, event);
}

QString TFrmGraph::TipAt(const QPointF& canvasPoint) const {
  const TGraphHit hit = HitTrain(graph_, canvasPoint.x(), canvasPoint.y(), HitDistance);
  if (hit.Train < 0 || hit.Train >= static_cast<int>(graph_.Trains.size())) return {};
  const TGraphTrainShape& train = graph_.Trains[static_cast<std::size_t>(hit.Train)];
  std::string tip = train.ID;
  if (hit.Stop >= 0 && hit.Stop < static_cast<int>(train.Stops.size()))
    tip += " " + train.Stops[static_cast<std::size_t>(hit.Stop)].Station;
  tip += " " + GraphClockText(hit.Minute);
  return FromGbk(tip);
}

void TFrmGraph::PointerAt(const std::optional<QPointF>& canvasPoint, const QPoint& globalPoint) {
  const bool inPlot = canvasPoint && canvasPoint->x() >= graph_.PlotLeft && canvasPoint->x() <= graph_.PlotRight &&
                      canvasPoint->y() >= graph_.PlotTop && canvasPoint->y() <= graph_.PlotBottom;
  if (!inPlot) {
    LabWhere->clear();
    QToolTip::hideText();
    Canvas->unsetCursor();
    return;
  }
  const double km = std::max(0.0, GraphKmAt(graph_, canvasPoint->y()));
  LabWhere->setText(FromGbk(GraphClockText(GraphMinuteAt(graph_, canvasPoint->x()))) +
                    QStringLiteral("  %1 km").arg(std::lround(km)));
  const QString tip = TipAt(*canvasPoint);
  if (tip.isEmpty()) {
    QToolTip::hideText();
    Canvas->unsetCursor();
  } else {
    QToolTip::showText(globalPoint, tip, Canvas);
    Canvas->setCursor(Qt::PointingHandCursor);
  }
}

void TFrmGraph::ShowCount() {
  if (trains_.empty()) {
    LabCount->setText(QStringLiteral("没有列车：运行图画的是站站查询的结果"));
    return;
  }
  QString text = QStringLiteral("共%1列车").arg(trains_.size());
  if (selected_ >= 0)
    text += QStringLiteral("，选中 ") + FromGbk(graph_.Trains[static_cast<std::size_t>(selected_)].ID);
  else
    text += QStringLiteral("；滚轮缩放，拖动平移，双击看经停站");
  LabCount->setText(text);
}

void TFrmGraph::SelectTrain(int train) {
  if (train < 0 || train >= static_cast<int>(graph_.Trains.size())) train = -1;
  selected_ = train;
  Canvas->update();
  ShowCount();
  if (train >= 0 && actions_.SelectRow) actions_.SelectRow(graph_.Trains[static_cast<std::size_t>(train)].Row);
}

void TFrmGraph::ShowRow(int row) {
  int train = -1;
  for (std::size_t i = 0; i < graph_.Trains.size(); ++i) {
    if (row >= 0 && graph_.Trains[i].Row == row) train = static_cast<int>(i);
  }
  if (train == selected_) return;
  selected_ = train;
  Canvas->update();
  ShowCount();
}

void TFrmGraph::OpenTrain(int train) {
  if (train < 0 || train >= static_cast<int>(graph_.Trains.size())) return;
  if (actions_.OpenStops) actions_.OpenStops(graph_.Trains[static_cast<std::size_t>(train)].Row);
}

void TFrmGraph::ExportTo(const QString& path) const {
  const TTrainGraph graph = LayoutTrainGraph(trains_, ExportSetup());
  if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0)
    WriteTrainGraphSvg(path, graph);
  else
    WriteTrainGraphPng(path, graph, 1);
}

void TFrmGraph::BTNExportClick() {
  if (!actions_.AskExportFile) return;
  QString suggested = QStringLiteral("运行图 ") + section_ + QStringLiteral(".png");
  suggested.replace(QStringLiteral("→"), QStringLiteral("-"));
  const QString path = actions_.AskExportFile(this, suggested);
  if (!path.trimmed().isEmpty()) ExportTo(path);
}

void TFrmGraph::BTNPrintClick() {
  if (actions_.Print) actions_.Print(this, trains_, Setup());
}

}  // namespace vormek
