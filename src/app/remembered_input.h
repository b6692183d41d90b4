#pragma once
// The main window's inputs that survive a restart: the last stations asked
// for, offered first when a station box is empty and its arrow is pressed,
// and the four filter boxes.
#include <QObject>

#include "app/UnitVormek.h"

namespace vormek {

class TUserSettings;

class TRememberedInput : public QObject {
  Q_OBJECT

 public:
  // settings outlives the window; this object is the window's child.
  TRememberedInput(TFrmVormek& window, TUserSettings& settings);

  // The list an empty box opens with: its remembered stations, then empty
  // items up to nine.
  QStringList EmptyBoxList(TStationBox box) const;
  // After a query: the boxes' stations, when the timetable knows them.
  void RememberStations(TQueryMode mode);
  // Forgets the stations, and empties the boxes' lists that show them.
  void ClearHistory();

 private:
  TFrmVormek& window_;
  TUserSettings& settings_;
};

}  // namespace vormek
