#include "ui/UnitMsg.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <string>
#include <vector>

#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "output/column_names.h"
#include "query/result_rows.h"
#include "services/csv_file.h"
#include "services/pdf_export.h"
#include "services/print_grid.h"
#include "ui/dialog_frame.h"
#include "ui/enter_presses_button.h"
#include "ui/msg_grid_model.h"
#include "ui/result_grid_view.h"
#include "ui/zzz_header_row.h"

namespace vormek {
namespace {

const std::vector<int> kColumnWidths{34, 75, 42, 41, 40, 50, 41, 41};

QLabel* SummaryLabel(QWidget* parent, int y, const QColor& colour) {
  auto* label = new QLabel(parent);
  label->setGeometry(24, y, TFrmMsg::ClientWidth - 24, 18);
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, colour);
  label->setPalette(pal);
  return label;
}

QPushButton* Button(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  PressOnEnter(button);
  return button;
}

// The station of the stop numbered `number` (站序), empty when none is.
QString StationOfStop(const TStopList& stops, int number) {
  const std::string wanted = std::to_string(number);
  for (int r = 0; r < stops.FilledRows && r < stops.Grid.RowCount(); ++r)
    if (stops.Grid.Cell(0, r) == wanted) return FromGbk(stops.Grid.Cell(1, r));
  return {};
}

}  // namespace

TMsgActions DefaultMsgActions() {
  TMsgActions actions;
  actions.Print = [](const TStringGrid& grid, TGridKind kind, int rows, const std::string& caption) {
    PrintOrOfferPdf(QApplication::activeWindow(), grid, ReportHeader(kind, grid.ColCount()), rows, caption);
  };
  actions.Export = [](QWidget* parent, const TStringGrid& grid, TGridKind kind, int rows) {
    ExportGrid(parent, grid, kind, rows);
  };
  actions.ExportPdf = [](QWidget* parent, const TStringGrid& grid, TGridKind kind, int rows,
                         const std::string& caption) {
    ExportGridPdf(parent, grid, ReportHeader(kind, grid.ColCount()), rows, caption);
  };
  return actions;
}

TFrmMsg::TFrmMsg(const TStopList& stops, const QString& trainId, TMsgActions actions, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      actions_(std::move(actions)) {
  setObjectName(QStringLiteral("FrmMsg"));
  setModal(true);
  BuildLayout();
  ClearSelection();
  setWindowTitle(QStringLiteral("车次:") + trainId);

  FilledRows = stops.FilledRows;
  SectionFirst = stops.SectionFirst;
  SectionLast = stops.SectionLast;
  MGridModel->Change([&](TStringGrid& grid) { grid = stops.Grid; });
  MGridModel->SetSection(SectionFirst, SectionLast);
  LabQC->setText(LabQC->text() + FromGbk(stops.LabQC));
  LabQJ->setText(LabQJ->text() + FromGbk(stops.LabQJ));
  caption_ = QStringLiteral("车次:") + trainId;
  const QString boarding = StationOfStop(stops, SectionFirst), alighting = StationOfStop(stops, SectionLast);
  if (!boarding.isEmpty() && !alighting.isEmpty())
    caption_ += QStringLiteral("  区间:") + boarding + QStringLiteral("—") + alighting;
}

void TFrmMsg::BuildLayout() {
  SetUpDialogFrame(*this, ClientWidth, ClientHeight);

  LabQC = SummaryLabel(this, 8, QColor(0xFF, 0x00, 0x00));
  LabQC->setObjectName(QStringLiteral("LabQC"));
  LabQJ = SummaryLabel(this, 28, QColor(0x00, 0x00, 0xFF));
  LabQJ->setObjectName(QStringLiteral("LabQJ"));

  MGridModel = new TMsgGridModel(kStopColumns, kStopGridRows, this);
  MGrid = new TResultGridView(MGridModel, kColumnWidths, this);
  MGrid->setObjectName(QStringLiteral("MGrid"));
  MGrid->setFont(SongFont(12));
  MGrid->setGeometry(24, 68, 393, 287);
  QStringList captions;
  for (int c = 0; c < kStopColumns; ++c) captions << FromGbk(DetailColumnName(c));
  MGridModel->SetHeaderCaptions(captions);
  BuildHeaderRow(this, *MGrid, captions, 46, QStringLiteral("MLab"));

  BTNPrint = Button(this, QStringLiteral("打印"), QRect(23, 366, 50, 32));
  BTNExport = Button(this, QStringLiteral("导出"), QRect(80, 366, 50, 32));
  BTNClose = Button(this, QStringLiteral("关闭"), QRect(327, 366, 90, 32));
  BTNPrint->setObjectName(QStringLiteral("BTNPrint"));
  BTNExport->setObjectName(QStringLiteral("BTNExport"));
  BTNPdf = Button(this, QStringLiteral("导出PDF"), QRect(137, 366, 70, 32));
  BTNPdf->setObjectName(QStringLiteral("BTNPdf"));
  BTNClose->setObjectName(QStringLiteral("BTNClose"));
  // As the window reads: the stops, then the buttons left to right.
  setTabOrder(MGrid, BTNPrint);
  setTabOrder(BTNPrint, BTNExport);
  setTabOrder(BTNExport, BTNPdf);
  setTabOrder(BTNPdf, BTNClose);
  BTNClose->setFocus();

  connect(BTNPrint, &QPushButton::clicked, this, &TFrmMsg::BTNPrintClick);
  connect(BTNExport, &QPushButton::clicked, this, &TFrmMsg::BTNExportClick);
  connect(BTNPdf, &QPushButton::clicked, this, &TFrmMsg::BTNPdfClick);
  connect(BTNClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmMsg::ClearSelection() { MGrid->ClearSelection(); }

void TFrmMsg::BTNPrintClick() {
  if (actions_.Print) actions_.Print(MGridModel->Grid(), TGridKind::Detail, FilledRows, ToGbk(caption_).value_or(""));
}

void TFrmMsg::BTNPdfClick() {
  if (actions_.ExportPdf)
    actions_.ExportPdf(this, MGridModel->Grid(), TGridKind::Detail, FilledRows, ToGbk(caption_).value_or(""));
}

void TFrmMsg::BTNExportClick() {
  if (actions_.Export) actions_.Export(this, MGridModel->Grid(), TGridKind::Detail, FilledRows);
}

std::optional<TStopList> TFrmMsg::StopsForRow(const std::vector<TPub_GridResult>& results, const TStringGrid& sgrid,
                                              int row, const TTimetable& timetable) {
  const TPub_GridResult* record = RecordOfRow(results, sgrid, row);
  if (record == nullptr || record->ID.empty()) return std::nullopt;
  return BuildStopList(timetable, StopListRequestOf(*record));
}

void TFrmMsg::OpenForRow(const std::vector<TPub_GridResult>& results, const TStringGrid& sgrid, int row,
                         const TTimetable& timetable, QWidget* parent, TMsgActions actions) {
  const std::optional<TStopList> stops = StopsForRow(results, sgrid, row, timetable);
  if (!stops) return;
  const TPub_GridResult& record = *RecordOfRow(results, sgrid, row);
  TFrmMsg window(*stops, FromGbk(record.ID), std::move(actions), parent);
  window.exec();
}

}  // namespace vormek
