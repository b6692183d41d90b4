#pragma once
// An editable station box whose drop-down list is filled and opened from
// code while typing goes on: the list opens as a completion popup, which
// leaves the keyboard with the box's line edit.
#include <QComboBox>
#include <QStringList>

#include "stations/station_list.h"

class QAbstractItemView;
class QCompleter;

namespace vormek {

class TStationComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TStationComboBox(QWidget* parent = nullptr);

  // Replaces the list's items; opens the list when asked, closes it otherwise.
  void SetStationList(const QStringList& items, bool open);
  QStringList Items() const;
  bool ListOpen() const;
  QAbstractItemView* ListView() const;
  // Text set from code: does not count as a change by the user.
  void SetTextQuietly(const QString& text);
  // Writes the text back after trimming, caret at its end.
  void ReplaceText(const QString& text);
  // Shows what the typed text asks of the list: filled and open, emptied,
  // or kept (closed once the text is a whole name).
  void ShowListUpdate(const TStationListUpdate& update);

 signals:
  // Typing, deleting, pasting or picking an item.
  void UserChangedText();
  void EnterPressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QCompleter* list_;
  bool quiet_ = false;
};

}  // namespace vormek
