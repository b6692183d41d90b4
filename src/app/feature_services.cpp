#include "app/feature_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QObject>
#include <memory>

#include "app/UnitVormek.h"
#include "app/advanced_menu.h"
#include "app/message_boxes.h"
#include "app/remembered_input.h"
#include "app/timetable_switch.h"
#include "services/user_settings.h"
#include "ui/UnitZzz.h"

namespace vormek {

namespace {

// The transfer window's view of the main window, with connections.
class TLegsAndConnections : public ITransferLegsTarget {
 public:
  TLegsAndConnections(TFrmVormek& window, const TFeatureDeps& deps) : window_(window), deps_(deps) {}
  void ShowTransferLegs(const std::string& station, std::int32_t count1, std::int32_t count2) override {
    window_.ShowTransferLegs(station, count1, count2);
  }
  bool OffersConnections() const override { return true; }
  void ShowConnections() override {
    TTimetable* tables = window_.LoadedTables();
    if (!tables) return;
    const TPub_Center& center = window_.Center();
    TPlanRequest request{center.FromSelection.Entered, center.ToSelection.Entered,
                         deps_.Settings ? deps_.Settings->MinChange() : kDefaultMinChange};
    TPlanDeps plan;
    plan.Tables = tables;
    plan.Fares = &center.Fares;
    TUserSettings* settings = deps_.Settings;
    plan.MinChangeChanged = [settings](int minutes) {
      if (settings) settings->SetMinChange(minutes);
    };
    plan.Actions = deps_.PlanOutput;
    plan.DetailActions = deps_.DetailOutput;
    TFrmPlan window(std::move(request), std::move(plan), QApplication::activeWindow());
    window.exec();
  }

 private:
  TFrmVormek& window_;
  const TFeatureDeps& deps_;
};

}  // namespace

QString AskTimetableFolder(QWidget* parent) {
  return QFileDialog::getExistingDirectory(parent,
                                           QStringLiteral("打开时刻表 (SLIST.txt, STRAIN.txt, SM.txt, SPY.txt)"));
}

TInstalledFeatures InstallFeatures(TFrmVormek& window, TAdvancedMenu& menu, TFeatureDeps deps) {
  TInstalledFeatures installed;
  auto shared = std::make_shared<TFeatureDeps>(std::move(deps));
  if (!shared->AskFolder) shared->AskFolder = AskTimetableFolder;

  window.SetShowTransferWindow([shared](TFrmVormek& win) {
    TLegsAndConnections target(win, *shared);
    TFrmZzz::ShowTransferStations(win.Center(), target, &win);
  });

  if (shared->Settings) installed.Remembered = new TRememberedInput(window, *shared->Settings);

  // The new items stand between the shortcuts and "关于".
  installed.MOpenTables = new QAction(QStringLiteral("打开时刻表(&O)..."), &menu);
  installed.MBuiltInTables = new QAction(QStringLiteral("恢复内置时刻表(&B)"), &menu);
  installed.MClearHistory = new QAction(QStringLiteral("清除历史(&H)"), &menu);
  menu.insertAction(menu.MAbout, installed.MOpenTables);
  menu.insertAction(menu.MAbout, installed.MBuiltInTables);
  menu.insertAction(menu.MAbout, installed.MClearHistory);
  menu.insertSeparator(menu.MAbout);

  if (shared->BuiltIn && shared->Boxes) {
    auto* timetables =
        new TTimetableSwitch(window, *shared->BuiltIn, *shared->Boxes, shared->TablesCache, shared->Settings);
    installed.Timetables = timetables;
    // It is no QObject: the window deletes it when it goes.
    QObject::connect(&window, &QObject::destroyed, [timetables] { delete timetables; });
    TFrmVormek* mainWindow = &window;
    QObject::connect(installed.MOpenTables, &QAction::triggered, &window, [mainWindow, timetables, shared] {
      const QString dir = shared->AskFolder(mainWindow);
      if (!dir.isEmpty()) timetables->OpenFolder(dir);
    });
    QObject::connect(installed.MBuiltInTables, &QAction::triggered, &window,
                     [timetables] { timetables->RestoreBuiltIn(); });
    // Before the window is shown, so that it appears with the folder's
    // tables in place and its query buttons on; putting them in place waits
    // for the built-in loaders, so nothing is loading beneath.
    // A folder named on the command line comes first; else the one the
    // user had open last time.
    if (!shared->StartTables.isEmpty()) {
      timetables->OpenFolder(shared->StartTables);
    } else {
      timetables->ReopenLastFolder();
    }
  } else {
    installed.MOpenTables->setEnabled(false);
    installed.MBuiltInTables->setEnabled(false);
  }
  TRememberedInput* remembered = installed.Remembered;
  TFrmVormek* mainWindow = &window;
  QObject::connect(installed.MClearHistory, &QAction::triggered, &window, [shared, remembered, mainWindow] {
    if (remembered) remembered->ClearHistory();
    if (shared->Boxes)
      shared->Boxes->Inform(mainWindow, QStringLiteral("已清除历史：站名框不再列出以前查询的车站。"),
                            QStringLiteral("清除历史"));
  });
  return installed;
}

}  // namespace vormek
