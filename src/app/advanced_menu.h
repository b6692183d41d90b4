#pragma once
// The popup menu MAdvanced of the result grid and of the "高级" button, and
// the wiring of the main window's secondary windows and services.
#include <QMenu>
#include <functional>

#include "app/web_links.h"
#include "services/UnitSystem.h"
#include "ui/UnitMsg.h"
#include "ui/graph_actions.h"

class QAction;

namespace vormek {

class IMessageBoxes;
class TFrmVormek;
class TUserSettings;
class TWebLinks;

struct TAdvancedActions {
  std::function<int()> ResultCount;
  std::function<void()> Print;   // MPrintClick
  std::function<void()> Export;  // MExportClick
  std::function<void()> ExportPdf;
  std::function<bool()> CanPlan;   // the tables are loaded
  std::function<void()> Journeys;  // 行程规划 from the boxes' stations
  std::function<bool()> CanGraph;  // the grid holds a station-to-station query's rows
  std::function<void()> Graph;     // 运行图 of the grid's rows
  std::function<void()> Desktop;   // MDesktopClick
  std::function<void()> Start;     // NStartClick
  std::function<void()> About;     // MAboutClick
};

class TAdvancedMenu : public QMenu {
  Q_OBJECT

 public:
  TAdvancedMenu(TAdvancedActions actions, QWidget* parent = nullptr);

  // Print, PDF and export only while there are results; the train graph
  // only for the rows of a station-to-station query.
  void MAdvancedPopup();

  QAction* MPrint = nullptr;
  QAction* MExportPdf = nullptr;
  QAction* MExport = nullptr;
  QAction* MJourney = nullptr;
  QAction* MGraph = nullptr;
  QMenu* MShortcuts = nullptr;
  QAction* MDesktop = nullptr;
  QAction* NStart = nullptr;
  QAction* MAbout = nullptr;

 private:
  TAdvancedActions actions_;
};

// What the shortcut items tell the user: the shortcut `file` was written to
// the desktop or the start menu, or could not be (its folder is missing, or
// there is none: an empty file).
QString ShortcutReport(TSpecialFolder folder, bool written, const QString& file);
// The start menu already holds the package's entry.
QString PackagedEntryReport(const QString& entry);

// "确实要打印吗？" with Yes, No and Cancel; true only for Yes.
bool AskPrintConfirmation(QWidget* parent);

// How the program's menu items do their work, for one main window.
struct TWindowServices {
  UrlOpener Opener = DesktopUrlOpener();
  std::function<bool(QWidget*)> ConfirmPrint = AskPrintConfirmation;
  // The program's own executable, the shortcuts' target.
  std::function<QString()> ExecutablePath;
  // The menu entry the program's package installed, when this program is
  // the installed one; empty otherwise. The start-menu shortcut is not
  // written beside it.
  std::function<QString()> PackagedMenuEntry;
  // Tells the user what became of a shortcut; no report without it.
  IMessageBoxes* Boxes = nullptr;
  // Printing and export of the main grid and of the detail window's stops.
  TMsgActions Output = DefaultMsgActions();
  // The train graph's export and printing.
  TGraphActions GraphOutput = DefaultGraphActions();
  // Where the version check's on/off choice is kept; no menu item without it.
  TUserSettings* Settings = nullptr;
};
TAdvancedActions ProgramAdvancedActions(TFrmVormek& window, const TWindowServices& services);

// Everything the main window offers beyond its queries: the popup menu on the
// grid and under "高级", "关于", the web links, the detail window on a
// double-click and the transfer-station window.
struct TInstalledServices {
  TAdvancedMenu* Menu = nullptr;
  TWebLinks* Links = nullptr;
  QAction* MCheckVersion = nullptr;  // null without settings
  QAction* MQuit = nullptr;
};
TInstalledServices InstallWindowServices(TFrmVormek& window, TWindowServices services = TWindowServices());

}  // namespace vormek
