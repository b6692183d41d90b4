#pragma once
// The train detail window: the stop list of one train with day count and leg
// speeds, the queried section in blue, whole-run and section summaries, and
// its own print and export buttons. Modal, built for one use.
#include <QDialog>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "output/column_names.h"
#include "output/string_grid.h"
#include "query/stop_list.h"
#include "rules/UPub_Center.h"

class QLabel;
class QPushButton;

namespace vormek {

struct TTimetable;
class TMsgGridModel;
class TResultGridView;

// What the buttons do with the stop list; tests replace them.
// The caption (GBK, may be empty) says beside the report's title what it
// shows.
struct TMsgActions {
  std::function<void(const TStringGrid& grid, TGridKind kind, int rows, const std::string& caption)> Print;
  std::function<void(QWidget* parent, const TStringGrid& grid, TGridKind kind, int rows)> Export;
  std::function<void(QWidget* parent, const TStringGrid& grid, TGridKind kind, int rows, const std::string& caption)>
      ExportPdf;
};
// PrintGrid on the default printer (offering a PDF file where there is
// none), ExportGrid with the save dialog, and the PDF report with its own.
TMsgActions DefaultMsgActions();

class TFrmMsg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 426;
  static constexpr int ClientHeight = 403;

  TFrmMsg(const TStopList& stops, const QString& trainId, TMsgActions actions = DefaultMsgActions(),
          QWidget* parent = nullptr);

  // The stop list for row `row` of the main grid, from the record the row
  // was written from; nullopt when the row holds no result or its train is
  // not in the stop table.
  static std::optional<TStopList> StopsForRow(const std::vector<TPub_GridResult>& results, const TStringGrid& sgrid,
                                              int row, const TTimetable& timetable);
  // SGridDblClick: builds, shows modally and destroys the window; opens
  // nothing for a row without a known train.
  static void OpenForRow(const std::vector<TPub_GridResult>& results, const TStringGrid& sgrid, int row,
                         const TTimetable& timetable, QWidget* parent, TMsgActions actions = DefaultMsgActions());

  void ClearSelection();
  void BTNPrintClick();
  void BTNExportClick();
  void BTNPdfClick();
  // What the printed stop list says beside its title: the train and the
  // section, "车次:1461  区间:天津—上海".
  QString ReportCaption() const { return caption_; }

  QLabel* LabQC = nullptr;
  QLabel* LabQJ = nullptr;
  TMsgGridModel* MGridModel = nullptr;
  TResultGridView* MGrid = nullptr;
  QPushButton* BTNPrint = nullptr;
  QPushButton* BTNExport = nullptr;
  QPushButton* BTNPdf = nullptr;
  QPushButton* BTNClose = nullptr;

  int FilledRows = 0;
  int SectionFirst = 0;
  int SectionLast = 0;

 private:
  void BuildLayout();

  TMsgActions actions_;
  QString caption_;
};

}  // namespace vormek
