#pragma once
// Table model over the result grid's cells. The cells stay GBK in a
// TStringGrid (sorting, printing and export work on it); text is converted
// only when the view asks for it.
#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <string>

#include "output/string_grid.h"

namespace vormek {

class TResultGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The row colour decision (red, blue, plain) for one row, see
  // ResultRowColour; selected rows are the delegate's business.
  static constexpr int RowColourRole = Qt::UserRole + 1;

  TResultGridModel(int colCount, int rowCount, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // Column captions and row numbers, for screen readers (the window shows
  // its own caption labels).
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  void SetHeaderCaptions(QStringList captions) { captions_ = std::move(captions); }

  const TStringGrid& Grid() const { return grid_; }
  // Every change to the cells goes through here so the view refreshes.
  void Change(const std::function<void(TStringGrid&)>& change);

  // The station whose second legs are drawn blue; empty for none.
  void SetTransferStation(std::string station);
  const std::string& TransferStation() const { return transferStation_; }

  // The cell as the core holds it (GBK).
  const std::string& CellText(int col, int row) const { return grid_.Cell(col, row); }
  // A row with a train number may be selected; an empty row may not.
  bool RowHasResult(int row) const;

 private:
  TStringGrid grid_;
  std::string transferStation_;
  QStringList captions_;
};

}  // namespace vormek
