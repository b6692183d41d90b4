#pragma once
// What the program adds beyond its four queries, wired onto a main window
// that InstallWindowServices has equipped: the connections window behind the
// transfer window's "换乘方案", remembered stations and filters, and the
// 高级 items "打开时刻表...", "恢复内置时刻表" and "清除历史".
#include <QString>
#include <filesystem>
#include <functional>

#include "ui/UnitMsg.h"
#include "ui/UnitPlan.h"

class QAction;

namespace vormek {

class IMessageBoxes;
class TAdvancedMenu;
class TFrmVormek;
class TItemSet;
class TRememberedInput;
class TTimetableSwitch;
class TUserSettings;

struct TFeatureDeps {
  TUserSettings* Settings = nullptr;  // outlives the window
  const TItemSet* BuiltIn = nullptr;  // outlives the window
  IMessageBoxes* Boxes = nullptr;     // outlives the window
  // Picks a folder holding the four table texts; empty when cancelled.
  std::function<QString(QWidget* parent)> AskFolder;
  TPlanActions PlanOutput = DefaultPlanActions();
  TMsgActions DetailOutput = DefaultMsgActions();
  // "--tables DIR": opened once the built-in timetable is in.
  QString StartTables;
  // Where images of opened timetable folders are kept; empty keeps none.
  std::filesystem::path TablesCache;
};

struct TInstalledFeatures {
  QAction* MOpenTables = nullptr;
  QAction* MBuiltInTables = nullptr;
  QAction* MClearHistory = nullptr;
  TTimetableSwitch* Timetables = nullptr;  // owned by the window
  TRememberedInput* Remembered = nullptr;  // owned by the window
};

TInstalledFeatures InstallFeatures(TFrmVormek& window, TAdvancedMenu& menu, TFeatureDeps deps);

// The program's folder dialog.
QString AskTimetableFolder(QWidget* parent);

}  // namespace vormek
