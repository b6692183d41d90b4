// The three query handlers of the main window.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/UnitVormek.h"
#include "app/app_title.h"
#include "app/message_boxes.h"
#include "data/table_loaders.h"
#include "gui_text/gbk_text.h"
#include "query/input_checks.h"
#include "query/query_direct.h"
#include "query/query_results.h"
#include "query/query_station.h"
#include "query/query_train_number.h"
#include "query/query_transfer.h"
#include "query/result_filter.h"
#include "ui/result_grid_model.h"
#include "ui/station_combo_box.h"

namespace vormek {

void TFrmVormek::Refuse(const std::string& message, const std::string& caption, QWidget* box) {
  deps_.Boxes->Warn(this, FromGbk(message), FromGbk(caption));
  box->setFocus(Qt::OtherFocusReason);
}

void TFrmVormek::UncheckFilters() {
  // The boxes' own handler would only redraw what is cleared next.
  for (QCheckBox* box : {CBSF, CBZD, CBJQ, CBDC}) {
    const QSignalBlocker quiet(box);
    box->setChecked(false);
  }
}

void TFrmVormek::BTNZZCXClick(TDirectQuery query) {
  queryMode_ = TQueryMode::Direct;
  const std::string fz = ToGbkForLookup(ComboFZ->currentText());
  const std::string dz = ToGbkForLookup(ComboDZ->currentText());
  if (!loaders_->PinyinLoaded()) return;
  if (auto refusal = CheckDirectInput(loaders_->Tables().KMPy, fz, dz)) {
    Refuse(refusal->Message, refusal->Caption, refusal->Box == TInputBox::ComboFZ ? ComboFZ : ComboDZ);
    return;
  }
  // Every table a query reads must be complete, not just the stop table.
  if (!TablesReady()) return;
  StartNewResults();
  if (query == TDirectQuery::Transfer) {
    RunTransferQuery(fz, dz);
    return;
  }
  StoreResult(center_, QueryDirect(loaders_->Tables(), center_.Fares, TStationPairRequest{fz, dz}));
  if (!center_.GridResults.empty()) {
    ShowResults();
    return;
  }
  if (deps_.Boxes->AskYesNo(this, QStringLiteral("两站之间无直达列车,是否进行中转站查询?"), ApplicationTitle()))
    BTNZZCXClick(TDirectQuery::Transfer);
}

void TFrmVormek::RunTransferQuery(const std::string& fz, const std::string& dz) {
  StoreResult(center_, QueryTransfer(loaders_->Tables(), TStationPairRequest{fz, dz}));
  if (deps_.ShowTransferWindow) deps_.ShowTransferWindow(*this);
}

void TFrmVormek::ShowTransferLegs(const std::string& station, std::int32_t count1, std::int32_t count2) {
  if (!TablesReady()) return;
  ClearResults();
  const TTransferPick pick{station, count1, count2};
  StoreResult(
      center_, pick,
      TransferLegResults(loaders_->Tables(), center_.Fares, center_.LegOneResults, center_.LegTwoResults, pick));
  SGridModel->SetTransferStation(center_.TransferStation);
  ShowResults();
}

// What every query does before it runs: the filters off, the grid empty and
// no transfer station marked.
void TFrmVormek::StartNewResults() {
  UncheckFilters();
  ClearResults();
  center_.TransferStation.clear();
  SGridModel->SetTransferStation({});
}

void TFrmVormek::BTNCCCXClick() {
  queryMode_ = TQueryMode::TrainNumber;
  const std::string ecc = ToGbkForLookup(ECC->text());
  if (auto refusal = CheckTrainNumberInput(ecc)) {
    Refuse(refusal->Message, refusal->Caption, ECC);
    return;
  }
  if (!TablesReady()) return;
  StartNewResults();
  StoreResult(center_, QueryTrainNumber(loaders_->Tables(), TTrainNumberRequest{ecc}));
  ShowResults();
}

void TFrmVormek::BTNCZCXClick() {
  queryMode_ = TQueryMode::Station;
  const std::string cz = ToGbkForLookup(ComboCZ->currentText());
  if (!loaders_->PinyinLoaded()) return;
  if (auto refusal = CheckStationInput(loaders_->Tables().KMPy, cz)) {
    Refuse(refusal->Message, refusal->Caption, ComboCZ);
    return;
  }
  if (!TablesReady()) return;
  StartNewResults();
  StoreResult(center_, QueryStation(loaders_->Tables(), center_.Fares, TStationRequest{cz}));
  ShowResults();
}

}  // namespace vormek
