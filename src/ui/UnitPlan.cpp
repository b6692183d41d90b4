#include "ui/UnitPlan.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <limits>

#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "query/connection_rows.h"
#include "services/csv_file.h"
#include "services/pdf_export.h"
#include "services/print_grid.h"
#include "ui/dialog_frame.h"
#include "ui/result_grid_view.h"
#include "ui/zzz_grid_model.h"
#include "ui/zzz_header_row.h"

namespace vormek {
namespace {

const std::vector<int> kColumnWidths{70, 66, 40, 66, 40, 70, 40, 42, 66, 40, 48, 48, 96};
constexpr int kGridTop = 60;

}  // namespace

TPlanActions DefaultPlanActions() {
  TPlanActions actions;
  actions.Print = [](const TStringGrid& grid, const std::vector<std::string>& header, int rows) {
    PrintOrOfferPdf(QApplication::activeWindow(), grid, header, rows);
  };
  actions.Export = [](QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows) {
    ExportGrid(parent, grid, header, rows);
  };
  return actions;
}

TFrmPlan::TFrmPlan(TPlanRequest request, TPlanDeps deps, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      request_(std::move(request)),
      deps_(std::move(deps)),
      index_(*deps_.Tables) {
  setObjectName(QStringLiteral("FrmPlan"));
  setModal(true);
  BuildLayout();
  setWindowTitle(QStringLiteral("换乘方案: %1 → %2").arg(FromGbk(request_.From), FromGbk(request_.To)));
  {
    const QSignalBlocker quiet(SpinMinChange);
    SpinMinChange->setValue(request_.MinChange);
  }
  Refill();
  connect(SpinMinChange, &QSpinBox::valueChanged, this, [this](int minutes) {
    if (deps_.MinChangeChanged) deps_.MinChangeChanged(minutes);
    Refill();
  });
}

void TFrmPlan::BuildLayout() {
  SetUpDialogFrame(*this, ClientWidth, ClientHeight);

  auto* caption = new QLabel(QStringLiteral("最短换乘时间:"), this);
  caption->setGeometry(9, 12, 90, 18);
  SpinMinChange = new QSpinBox(this);
  SpinMinChange->setObjectName(QStringLiteral("SpinMinChange"));
  SpinMinChange->setGeometry(100, 9, 90, 24);
  SpinMinChange->setRange(0, kMinutesPerDay);
  SpinMinChange->setSingleStep(5);
  SpinMinChange->setSuffix(QStringLiteral(" 分钟"));
  SpinMinChange->setKeyboardTracking(false);  // search once the number is typed
  LabCount = CountLabel(this, QRect(210, 12, 560, 18));

  PGridModel = new TZzzGridModel(kConnectionColumns, kConnectionGridRows, this);
  PGrid = new TResultGridView(PGridModel, kColumnWidths, this);
  PGrid->setObjectName(QStringLiteral("PGrid"));
  PGrid->setFont(SongFont(12));
  PGrid->setGeometry(9, kGridTop, 772, 305);
  PGrid->setToolTip(QStringLiteral("双击车次一的列可查看第一程，双击车次二起的列可查看第二程"));
  QStringList captions;
  for (const std::string& name : ConnectionHeader()) captions << FromGbk(name);
  BuildHeaderRow(this, *PGrid, captions, kGridTop - kHeaderBoxHeight, QStringLiteral("PLab"));

  BTNPrint = DialogButton(this, QStringLiteral("打印"), QStringLiteral("BTNPrint"), QRect(9, 378, 50, 32));
  BTNExport = DialogButton(this, QStringLiteral("导出"), QStringLiteral("BTNExport"), QRect(66, 378, 50, 32));
  BTNAll = DialogButton(this, QStringLiteral("全部显示"), QStringLiteral("BTNAll"), QRect(123, 378, 80, 32));
  BTNClose = DialogButton(this, QStringLiteral("关闭"), QStringLiteral("BTNClose"), QRect(691, 378, 90, 32));
  connect(BTNAll, &QPushButton::clicked, this, [this] {
    all_ = true;
    Refill();
  });
  connect(BTNPrint, &QPushButton::clicked, this, &TFrmPlan::BTNPrintClick);
  connect(BTNExport, &QPushButton::clicked, this, &TFrmPlan::BTNExportClick);
  connect(BTNClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(PGrid, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { GridDblClick(index.row(), index.column()); });
}

void TFrmPlan::Refill() {
  TConnectionOptions options;
  options.MinChange = SpinMinChange->value();
  if (all_) options.MaxCount = std::numeric_limits<int>::max();
  connections_ = FindConnections(index_, *deps_.Tables, request_.From, request_.To, options, *deps_.Fares, &total_);
  PGrid->ClearSelection();
  PGridModel->Change([&](TStringGrid& grid) { grid = ConnectionGrid(connections_, true); });
  // The count is the true one; the list may hold only the best of them.
  const std::size_t shown = connections_.size();
  if (total_ == 0)
    LabCount->setText(QStringLiteral("没有换乘一次可达的方案"));
  else if (shown == total_)
    LabCount->setText(QStringLiteral("共%1个方案，按总历时排列").arg(total_));
  else
    LabCount->setText(QStringLiteral("共%1个方案，列出总历时最短的%2个").arg(total_).arg(shown));
  BTNAll->setVisible(shown < total_);
}

const TPub_GridResult* TFrmPlan::Leg(int row, int col) const {
  if (row < 0 || row >= Count() || col < 0 || col >= kConnectionColumns) return nullptr;
  const TConnection& c = connections_[static_cast<std::size_t>(row)];
  return col <= kFirstLegLastColumn ? &c.First : &c.Second;
}

std::string TFrmPlan::LegTrain(int row, int col) const {
  const TPub_GridResult* leg = Leg(row, col);
  return leg ? leg->ID : std::string();
}

std::optional<TStopList> TFrmPlan::LegStops(int row, int col) const {
  const TPub_GridResult* leg = Leg(row, col);
  if (leg == nullptr) return std::nullopt;
  return BuildStopList(*deps_.Tables, StopListRequestOf(*leg));
}

void TFrmPlan::GridDblClick(int row, int col) {
  const std::optional<TStopList> stops = LegStops(row, col);
  if (!stops) return;
  TFrmMsg window(*stops, FromGbk(LegTrain(row, col)), deps_.DetailActions, this);
  window.exec();
}

void TFrmPlan::BTNPrintClick() {
  if (deps_.Actions.Print) deps_.Actions.Print(PGridModel->Grid(), ConnectionHeader(), Count());
}

void TFrmPlan::BTNExportClick() {
  if (deps_.Actions.Export) deps_.Actions.Export(this, PGridModel->Grid(), ConnectionHeader(), Count());
}

}  // namespace vormek
