#pragma once
// The transfer station window: one row per transfer station with both legs'
// distances, times and train counts, sortable by its header labels; a click
// on a station fills the main window's grid with that station's legs while
// this window stays open.
#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

#include "query/sort_state.h"
#include "rules/UPub_Center.h"

class QLabel;
class QPushButton;

namespace vormek {

class TClickLabel;
class TResultGridView;
class TZzzGridModel;

// The main window as this window sees it.
class ITransferLegsTarget {
 public:
  virtual ~ITransferLegsTarget() = default;
  // ClearResults, BuildTransferResults and ShowResults for one station.
  virtual void ShowTransferLegs(const std::string& station, std::int32_t count1, std::int32_t count2) = 0;
  // The "换乘方案" button: shown only for a target that opens connections.
  virtual bool OffersConnections() const { return false; }
  virtual void ShowConnections() {}
};

class TFrmZzz : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 532;
  static constexpr int ClientHeight = 356;

  TFrmZzz(ITransferLegsTarget& target, QWidget* parent = nullptr);

  // What the transfer query does with a new window: list the stations of
  // TransferRows, set caption and note, sort by station. center must outlive
  // the window: a click reads the chosen row's record there.
  void Fill(const TPub_Center& center);
  // Fills and shows the window modally; it is destroyed when closed.
  static void ShowTransferStations(const TPub_Center& center, ITransferLegsTarget& target, QWidget* parent);

  void ClearSelection();
  void Lab1Click(TClickLabel* label);
  void ZGridClick(int row);

  int StationCount = 0;
  TZzzGridModel* ZGridModel = nullptr;
  TResultGridView* ZGrid = nullptr;
  std::array<TClickLabel*, 9> Labs{};  // Lab1..Lab9
  QLabel* LabInfo = nullptr;
  QPushButton* BTNClose = nullptr;
  QPushButton* BTNPlan = nullptr;  // "换乘方案"

 private:
  void BuildLayout();
  void UpdateHeaderLabels();

  ITransferLegsTarget& target_;
  const TPub_Center* center_ = nullptr;  // the transfer rows listed, from Fill on
  TSortState sort_;
};

}  // namespace vormek
