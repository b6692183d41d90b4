#include "ui/UnitZzz.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <vector>

#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "query/query_transfer.h"
#include "ui/click_label.h"
#include "ui/dialog_frame.h"
#include "ui/enter_presses_button.h"
#include "ui/result_grid_view.h"
#include "ui/wait_cursor.h"
#include "ui/zzz_grid_model.h"
#include "ui/zzz_header_row.h"

namespace vormek {
namespace {

const std::vector<int> kColumnWidths{86, 47, 47, 48, 46, 47, 47, 61, 57};
QStringList ColumnCaptions() {
  QStringList captions;
  for (const std::string_view caption : TransferColumnCaptions()) captions << FromGbk(caption);
  return captions;
}

}  // namespace

TFrmZzz::TFrmZzz(ITransferLegsTarget& target, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      target_(target) {
  setObjectName(QStringLiteral("FrmZzz"));
  setModal(true);
  BuildLayout();
}

void TFrmZzz::BuildLayout() {
  SetUpDialogFrame(*this, ClientWidth, ClientHeight);

  ZGridModel = new TZzzGridModel(kTransferColumns, kTransferGridRows, this);
  ZGridModel->SetHeaderCaptions(ColumnCaptions());
  ZGrid = new TResultGridView(ZGridModel, kColumnWidths, this);
  ZGrid->setObjectName(QStringLiteral("ZGrid"));
  ZGrid->setFont(SongFont(12));
  ZGrid->setGeometry(9, 30, 513, 287);
  ZGrid->setToolTip(QStringLiteral("点击标题栏，可以根据各种条件排序。"));
  const std::vector<TClickLabel*> labels =
      BuildHeaderRow(this, *ZGrid, ColumnCaptions(), 30 - kHeaderBoxHeight, QStringLiteral("Lab"));
  for (std::size_t i = 0; i < Labs.size(); ++i) {
    Labs[i] = labels[i];
    connect(Labs[i], &TClickLabel::Clicked, this, [this, l = Labs[i]] { Lab1Click(l); });
  }

  LabInfo = new QLabel(this);
  LabInfo->setObjectName(QStringLiteral("LabInfo"));
  LabInfo->setGeometry(10, 328, 325, 14);
  QPalette info = LabInfo->palette();
  info.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
  LabInfo->setPalette(info);

  BTNClose = new QPushButton(QStringLiteral("关闭"), this);
  BTNClose->setObjectName(QStringLiteral("BTNClose"));
  BTNClose->setGeometry(433, 321, 90, 30);
  BTNClose->setAutoDefault(false);
  PressOnEnter(BTNClose);
  connect(BTNClose, &QPushButton::clicked, this, &QDialog::accept);

  BTNPlan = new QPushButton(QStringLiteral("换乘方案"), this);
  BTNPlan->setObjectName(QStringLiteral("BTNPlan"));
  BTNPlan->setGeometry(338, 321, 90, 30);
  BTNPlan->setAutoDefault(false);
  BTNPlan->setVisible(target_.OffersConnections());
  connect(BTNPlan, &QPushButton::clicked, this, [this] { target_.ShowConnections(); });
  // As the window reads: the stations, then the buttons left to right.
  setTabOrder(ZGrid, BTNPlan);
  setTabOrder(BTNPlan, BTNClose);
  // A click that selects a row (or re-clicks the selected one) shows its legs.
  connect(ZGrid, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && ZGrid->SelectedRow() == index.row()) ZGridClick(index.row());
  });
  // Arrow keys and the wheel move the current row too; the main grid must
  // follow them as it follows a click. A mouse press is left to the click.
  connect(ZGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
    if (!current.isValid() || QApplication::mouseButtons() != Qt::NoButton) return;
    if (ZGrid->SelectedRow() == current.row()) ZGridClick(current.row());
  });
}

void TFrmZzz::Fill(const TPub_Center& center) {
  center_ = &center;
  ClearSelection();
  ZGridModel->Change([&](TStringGrid& grid) {
    grid = TStringGrid(kTransferColumns, kTransferGridRows);
    StationCount = FillTransferGrid(center, grid);
  });
  setWindowTitle(FromGbk(TransferWindowCaption(StationCount)));
  LabInfo->setText(FromGbk(TransferNote()));
  Lab1Click(Labs[0]);
}

void TFrmZzz::ShowTransferStations(const TPub_Center& center, ITransferLegsTarget& target, QWidget* parent) {
  TFrmZzz window(target, parent);
  window.Fill(center);
  window.exec();
}

void TFrmZzz::ClearSelection() { ZGrid->ClearSelection(); }

void TFrmZzz::Lab1Click(TClickLabel* label) {
  if (StationCount < 1 || label == nullptr) return;
  const int column = label->objectName().mid(3).toInt() - 1;
  if (column < 0 || column >= kTransferColumns) return;
  const TWaitCursor hourglass;
  sort_ = ClickHeader(sort_, column);
  UpdateHeaderLabels();
  // Sorting moves rows under the selection; start again with none chosen.
  ClearSelection();
  ZGridModel->Change([&](TStringGrid& grid) {
    SortRows(grid, StationCount, sort_.Column, sort_.Ascending, IsNumericTransferColumn(sort_.Column));
  });
}

void TFrmZzz::UpdateHeaderLabels() {
  for (std::size_t i = 0; i < Labs.size(); ++i) {
    const int column = static_cast<int>(i);
    Labs[i]->setText(FromGbk(HeaderCaption(TransferColumnCaptions()[i], column, sort_)));
    Labs[i]->setFont(InSameFace(Labs[i]->font(), sort_.Column == column));
  }
}

void TFrmZzz::ZGridClick(int row) {
  if (row < 0 || row >= StationCount) return;
  if (center_ == nullptr) return;
  // The row's own transfer record says which station and how many legs.
  const std::optional<TTransferPick> pick = TransferPickOfRow(*center_, ZGridModel->Grid(), row);
  if (!pick || pick->Station.empty()) return;
  target_.ShowTransferLegs(pick->Station, pick->Count1, pick->Count2);
}

}  // namespace vormek
